#include "lint/reading_model.h"

#include "compiler/keywords.h"

namespace scenariogen::lint {

namespace {

constexpr int kGeneralDashSkips = 10;            // fields holding '-' skipped in a row in the general section
constexpr int kDashSkips = 2;                    // ... and after it
constexpr std::size_t kShortestKeywordText = 5;  // "curva": no test finds a keyword in a shorter field

bool ends_general_section(std::string_view campo) {
    const auto first = campo.find_first_not_of(' ');
    const bool dash_first = first != std::string_view::npos && campo[first] == '-';
    return contains(campo, "[") && contains(campo, "]") && !dash_first;
}

class Walker {
public:
    Walker(std::string_view text, SourceFile file, std::optional<AssumedStart> assumed, LineSink* sink)
        : stream_(text), file_(file), assumed_(assumed), sink_(sink) {}

    ReadingSummary run() {
        // Without a sink only the summary is wanted, which the objects'
        // section does not change.
        if (search_start()) {
            summary_.start_found = true;
            if (file_ == SourceFile::kLine) {
                if (general_section() && sink_ != nullptr) object_section(Section::kObjects);
            } else if (sink_ != nullptr) {
                object_section(Section::kTrain);
            }
        }
        flush(true);
        return summary_;
    }

private:
    // Reads one field, as text or as a number; a line of too many fields is
    // followed no further.
    Field read(bool text) {
        Field field = text ? stream_.read_text() : stream_.read_number();
        if (field.span.line != counted_line_) {
            counted_line_ = field.span.line;
            fields_on_line_ = 0;
        }
        if (++fields_on_line_ == kMaxFieldsPerLine && !field.ends_line) {
            stream_.skip_line();
            field.ends_line = true;
            cut_line_ = field.span.line;
        }
        return field;
    }

    int record(const Field& field, Use use, Section section) {
        if (sink_ == nullptr) return -1;
        if (field.span.line != line_.line) {
            flush(false);
            line_.line = field.span.line;
        }
        line_.cut_short = line_.cut_short || cut_line_ == field.span.line;
        line_.uses.push_back({field, use, section, -1, 0, -1});
        return static_cast<int>(line_.uses.size()) - 1;
    }

    void flush(bool last) {
        if (sink_ == nullptr || line_.uses.empty()) return;
        line_.last = last;
        sink_->line(line_);
        stopped_ = !sink_->wants_more();
        line_.uses.clear();  // the buffers are kept for the next line
        line_.readings.clear();
        line_.cut_short = false;
    }

    // Up to and including the field that holds [generale]. The line reader
    // tests for the end of the file after each field, the train reader
    // before each.
    bool search_start() {
        for (;;) {
            if (assumed_ && !assumed_->at_field && stream_.line() >= assumed_->line) return true;
            if (stream_.eof() || stopped_) return false;
            const Field field = read(true);
            const bool start = contains_any_case(field.text, "[generale]") ||
                               (assumed_ && assumed_->at_field && field.span.line >= assumed_->line);
            if (file_ == SourceFile::kLine && stream_.eof()) {
                record(field, Use::kNeverRead, Section::kGeneral);
                return false;
            }
            record(field, start ? Use::kStart : Use::kIgnored, Section::kGeneral);
            if (start) {
                summary_.start = field.span;
                return true;
            }
        }
    }

    // True when the line section follows.
    bool general_section() {
        for (;;) {
            if (stopped_) return false;
            if (stream_.eof()) return true;
            Field campo = read(true);
            if (stream_.eof()) {
                record(campo, Use::kNeverRead, Section::kGeneral);
                return true;
            }
            for (int i = 0; i < kGeneralDashSkips && contains(campo.text, "-"); ++i) {
                record(campo, Use::kDashSkipped, Section::kGeneral);
                if (stream_.eof()) {  // the reader reads on without looking: a read past the end
                    summary_.reads_past_end = campo.span;
                    return false;
                }
                campo = read(true);
            }
            test_keywords(campo, Section::kGeneral);
            if (ends_general_section(campo.text)) {
                summary_.general_end_line = campo.span.line;
                return true;
            }
        }
    }

    void object_section(Section section) {
        for (;;) {
            if (stream_.eof() || stopped_) return;
            Field campo = read(true);
            if (stream_.eof()) {
                record(campo, Use::kNeverRead, section);
                return;
            }
            for (int i = 0; i < kDashSkips && contains(campo.text, "-"); ++i) {
                record(campo, Use::kDashSkipped, section);
                campo = read(true);
                if (stream_.eof()) {
                    record(campo, Use::kNeverRead, section);
                    return;
                }
            }
            test_keywords(campo, section);
        }
    }

    // Every test of the section, each independently: a field taken for two
    // keywords reads the values of both, one after the other.
    void test_keywords(const Field& campo, Section section) {
        const int use = record(campo, Use::kKeywordField, section);
        if (campo.text.size() < kShortestKeywordText) return;
        for (const Keyword keyword : keywords_tested(section)) {
            if (!shape(keyword).recognises(campo.text)) continue;
            int reading = -1;
            if (use >= 0) {
                FieldUse& field_use = line_.uses[static_cast<std::size_t>(use)];
                line_.readings.push_back({keyword, use, {}, 0});
                reading = static_cast<int>(line_.readings.size()) - 1;
                if (field_use.first_reading < 0) field_use.first_reading = reading;
                ++field_use.readings;
            }
            read_values(keyword, reading, section);
        }
    }

    void read_values(Keyword keyword, int reading, Section section) {
        const KeywordShape& s = shape(keyword);
        for (std::size_t k = 0; k < s.values.size(); ++k) {
            if (stream_.line_ended() || stream_.eof()) {
                if (reading >= 0) line_.readings[static_cast<std::size_t>(reading)].missing = s.values.size() - k;
                return;
            }
            const Field value = read(s.values[k].storage == Storage::kText);
            const int use = record(value, Use::kValue, section);
            if (use < 0) continue;
            line_.uses[static_cast<std::size_t>(use)].reading = reading;
            line_.readings[static_cast<std::size_t>(reading)].value_uses.push_back(use);
        }
    }

    FieldStream stream_;
    SourceFile file_;
    std::optional<AssumedStart> assumed_;
    LineSink* sink_;
    ReadingSummary summary_;
    LineReading line_;
    int counted_line_ = 0;
    std::size_t fields_on_line_ = 0;
    int cut_line_ = 0;
    bool stopped_ = false;  // the sink wants no more lines
};

}  // namespace

ReadingSummary read_description(std::string_view text, SourceFile file, std::optional<AssumedStart> assumed,
                                LineSink* sink) {
    return Walker(text, file, assumed, sink).run();
}

}  // namespace scenariogen::lint
