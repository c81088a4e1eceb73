#include "syntax/description_reader.h"

#include <utility>

namespace scenariogen::syntax {

namespace {

constexpr int kGeneralDashSkips = 10;            // fields holding '-' skipped in a row in the general section
constexpr int kDashSkips = 2;                    // ... and after it
constexpr std::size_t kShortestKeywordText = 5;  // "curva": no test finds a keyword in a shorter field

// The general section ends at a field that holds '[' and ']' and whose first
// character, blanks aside, is not '-'.
bool ends_general_section(std::string_view field) {
    const auto first = field.find_first_not_of(' ');
    const bool dash_first = first != std::string_view::npos && field[first] == '-';
    return contains(field, "[") && contains(field, "]") && !dash_first;
}

}  // namespace

void Statement::clear() {
    uses.clear();
    readings.clear();
    keyword_use = -1;
    section = Section::kGeneral;
}

DescriptionReader::DescriptionReader(std::string_view text, SourceFile file, ReaderOptions options)
    : cursor_(text), file_(file), options_(options) {
    if (!own_line()) options_.assumed_start.reset();
}

bool DescriptionReader::next(Statement& statement) {
    statement.clear();
    out_ = &statement;
    while (phase_ != Phase::kDone) {
        bool tested = false;
        switch (phase_) {
            case Phase::kSearch:
                search_start();
                break;
            case Phase::kGeneral:
                tested = general_pass();
                break;
            case Phase::kObjects:
                tested = section_pass(Section::kObjects);
                break;
            case Phase::kTrain:
                tested = section_pass(Section::kTrain);
                break;
            case Phase::kDone:
                break;
        }
        if (tested) return true;
    }
    return !statement.uses.empty();
}

// Reads one field, as text or as a number; reading by lines, a line of too
// many fields is followed no further.
Field DescriptionReader::read(bool text) {
    Field field = text ? cursor_.read_text() : cursor_.read_number();
    last_read_ = field.span;
    if (own_line()) {
        if (field.span.line != counted_line_) {
            counted_line_ = field.span.line;
            fields_on_line_ = 0;
        }
        if (++fields_on_line_ == kMaxFieldsPerLine && !field.ends_line) {
            cursor_.skip_line();
            field.ends_line = true;
            rest_skipped_ = true;
        }
    }
    return field;
}

int DescriptionReader::record(const Field& field, Use use, Section section) {
    FieldUse entry;
    entry.field = field;
    entry.use = use;
    entry.section = section;
    entry.rest_of_line_skipped = std::exchange(rest_skipped_, false);
    out_->uses.push_back(entry);
    return static_cast<int>(out_->uses.size()) - 1;
}

void DescriptionReader::finish(ReadingEnd how) {
    end_ = how;
    phase_ = Phase::kDone;
}

void DescriptionReader::finish_past_end() {
    past_end_at_ = last_read_ ? *last_read_ : cursor_.here();
    finish(ReadingEnd::kPastEnd);
}

// Up to and including the field that holds [generale]. The line reader
// tests for the end of the text after each field, the train reader before
// each; reading the first field of an empty line description is a read past
// its end.
void DescriptionReader::search_start() {
    const std::optional<AssumedStart>& assumed = options_.assumed_start;
    for (;;) {
        if (assumed && !assumed->at_field && cursor_.line() >= assumed->line) break;
        if (cursor_.eof()) {
            if (file_ == SourceFile::kLine) return finish_past_end();
            return finish(ReadingEnd::kNoStart);
        }
        const Field field = read(true);
        const bool start = contains_any_case(field.text, "[generale]") ||
                           (assumed && assumed->at_field && field.span.line >= assumed->line);
        if (file_ == SourceFile::kLine && cursor_.eof()) {
            record(field, Use::kNeverRead, Section::kGeneral);
            return finish(ReadingEnd::kNoStart);
        }
        record(field, start ? Use::kStart : Use::kIgnored, Section::kGeneral);
        if (start) {
            summary_.start = field.span;
            break;
        }
    }
    summary_.start_found = true;
    phase_ = file_ == SourceFile::kLine ? Phase::kGeneral : Phase::kTrain;
}

// One pass of the general section; true when a keyword field was tested.
bool DescriptionReader::general_pass() {
    if (cursor_.eof()) {
        finish(ReadingEnd::kTextEnd);
        return false;
    }
    Field field = read(true);
    if (cursor_.eof()) {
        record(field, Use::kNeverRead, Section::kGeneral);
        finish(ReadingEnd::kTextEnd);
        return false;
    }
    // The general section's dash rule does not look for the end of the text.
    for (int i = 0; i < kGeneralDashSkips && contains(field.text, "-"); ++i) {
        record(field, Use::kDashSkipped, Section::kGeneral);
        if (cursor_.eof()) {
            summary_.reads_past_end = field.span;
            finish_past_end();
            return false;
        }
        field = read(true);
    }
    test_keywords(field, Section::kGeneral);
    if (end_ == ReadingEnd::kReading && ends_general_section(field.text)) {
        summary_.general_end_line = field.span.line;
        phase_ = Phase::kObjects;
    }
    return true;
}

// One pass of the line section or of the train description.
bool DescriptionReader::section_pass(Section section) {
    if (cursor_.eof()) {
        finish(ReadingEnd::kTextEnd);
        return false;
    }
    Field field = read(true);
    if (cursor_.eof()) {
        record(field, Use::kNeverRead, section);
        finish(ReadingEnd::kTextEnd);
        return false;
    }
    for (int i = 0; i < kDashSkips && contains(field.text, "-"); ++i) {
        record(field, Use::kDashSkipped, section);
        field = read(true);
        if (cursor_.eof()) {
            record(field, Use::kNeverRead, section);
            finish(ReadingEnd::kTextEnd);
            return false;
        }
    }
    test_keywords(field, section);
    return true;
}

// Every test of the section, each independently: a field taken for two
// keywords reads the values of both, one after the other.
void DescriptionReader::test_keywords(const Field& field, Section section) {
    const int use = record(field, Use::kKeywordField, section);
    out_->keyword_use = use;
    out_->section = section;
    if (field.text.size() < kShortestKeywordText) return;
    for (const Keyword keyword : keywords_tested(section)) {
        if (keyword == Keyword::kCurve && !options_.curves_read) continue;
        if (!shape(keyword).recognises(field.text)) continue;
        const int reading = static_cast<int>(out_->readings.size());
        out_->readings.push_back({keyword, use, {}, 0});
        FieldUse& keyword_field = out_->uses[static_cast<std::size_t>(use)];
        if (keyword_field.first_reading < 0) keyword_field.first_reading = reading;
        ++keyword_field.readings;
        read_values(reading, section);
        if (end_ != ReadingEnd::kReading) return;
    }
}

void DescriptionReader::read_values(int reading, Section section) {
    const auto at = static_cast<std::size_t>(reading);
    const std::span<const ValueShape> values = shape(out_->readings[at].keyword).values;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const bool none_left = own_line() ? cursor_.line_ended() || cursor_.eof() : cursor_.eof();
        if (none_left) {
            out_->readings[at].missing = values.size() - k;
            if (!own_line()) finish_past_end();
            return;
        }
        const Field value = read(values[k].storage == Storage::kText);
        const int use = record(value, Use::kValue, section);
        out_->uses[static_cast<std::size_t>(use)].reading = reading;
        out_->readings[at].value_uses.push_back(use);
    }
}

}  // namespace scenariogen::syntax
