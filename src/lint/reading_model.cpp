#include "lint/reading_model.h"

#include "compiler/keywords.h"

namespace scenariogen::lint {

namespace {

constexpr int kGeneralDashSkips = 10;  // fields holding '-' skipped in a row in the general section
constexpr int kDashSkips = 2;          // ... and after it

bool ends_general_section(std::string_view campo) {
    const auto first = campo.find_first_not_of(' ');
    const bool dash_first = first != std::string_view::npos && campo[first] == '-';
    return contains(campo, "[") && contains(campo, "]") && !dash_first;
}

class Walker {
public:
    Walker(std::string_view text, SourceFile file, std::optional<AssumedStart> assumed)
        : stream_(text), assumed_(assumed) {
        model_.file = file;
    }

    ReadingModel run() {
        if (!search_start()) return std::move(model_);
        model_.start_found = true;
        if (model_.file == SourceFile::kLine) {
            if (general_section()) object_section(Section::kObjects);
        } else {
            object_section(Section::kTrain);
        }
        return std::move(model_);
    }

private:
    int record(const Field& field, Use use, Section section = Section::kGeneral) {
        model_.uses.push_back({field, use, section, {}, -1});
        return static_cast<int>(model_.uses.size()) - 1;
    }

    // Up to and including the field that holds [generale]. The line reader
    // tests for the end of the file after each field, the train reader
    // before each.
    bool search_start() {
        const bool line_file = model_.file == SourceFile::kLine;
        for (;;) {
            if (assumed_ && !assumed_->at_field && stream_.line() >= assumed_->line) return true;
            if (stream_.eof()) return false;
            const Field field = stream_.read_text();
            const bool start = contains_any_case(field.text, "[generale]") ||
                               (assumed_ && assumed_->at_field && field.span.line >= assumed_->line);
            if (line_file && stream_.eof()) {
                record(field, Use::kNeverRead);
                return false;
            }
            record(field, start ? Use::kStart : Use::kIgnored);
            if (start) return true;
        }
    }

    // True when the line section follows.
    bool general_section() {
        for (;;) {
            if (stream_.eof()) return true;
            Field campo = stream_.read_text();
            if (stream_.eof()) {
                record(campo, Use::kNeverRead);
                return true;
            }
            for (int i = 0; i < kGeneralDashSkips && contains(campo.text, "-"); ++i) {
                record(campo, Use::kDashSkipped);
                if (stream_.eof()) {  // the reader reads on without looking: a read past the end
                    model_.reads_past_end = campo.span;
                    return false;
                }
                campo = stream_.read_text();
            }
            test_keywords(campo, Section::kGeneral);
            if (ends_general_section(campo.text)) {
                model_.general_end_line = campo.span.line;
                return true;
            }
        }
    }

    void object_section(Section section) {
        for (;;) {
            if (stream_.eof()) return;
            Field campo = stream_.read_text();
            if (stream_.eof()) {
                record(campo, Use::kNeverRead, section);
                return;
            }
            for (int i = 0; i < kDashSkips && contains(campo.text, "-"); ++i) {
                record(campo, Use::kDashSkipped, section);
                campo = stream_.read_text();
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
        for (const Keyword keyword : keywords_tested(section)) {
            if (!shape(keyword).recognises(campo.text)) continue;
            model_.readings.push_back({keyword, use, {}, 0});
            const int reading = static_cast<int>(model_.readings.size()) - 1;
            model_.uses[static_cast<std::size_t>(use)].readings.push_back(reading);
            read_values(reading, section);
        }
    }

    void read_values(int reading, Section section) {
        const KeywordShape& s = shape(model_.readings[static_cast<std::size_t>(reading)].keyword);
        for (std::size_t k = 0; k < s.values.size(); ++k) {
            if (stream_.line_ended() || stream_.eof()) {
                model_.readings[static_cast<std::size_t>(reading)].missing = s.values.size() - k;
                return;
            }
            const Field value = s.values[k].storage == Storage::kText ? stream_.read_text() : stream_.read_number();
            const int use = record(value, Use::kValue, section);
            model_.uses[static_cast<std::size_t>(use)].reading = reading;
            model_.readings[static_cast<std::size_t>(reading)].value_uses.push_back(use);
        }
    }

    FieldStream stream_;
    std::optional<AssumedStart> assumed_;
    ReadingModel model_;
};

}  // namespace

ReadingModel model_reading(std::string_view text, SourceFile file, std::optional<AssumedStart> assumed) {
    return Walker(text, file, assumed).run();
}

}  // namespace scenariogen::lint
