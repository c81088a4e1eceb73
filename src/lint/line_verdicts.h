// Each line of a description against what the reader makes of it: a line
// whose keyword is written out in full must be read as that keyword, with
// all its values from its own line and nothing left over; every other field
// that the reader takes for a keyword, and every line that it drops, is a
// fault at its place.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lint/report.h"
#include "lint/syntax_names.h"
#include "lint/value_checks.h"

namespace scenariogen::lint {

// A keyword line that the reader reads as it is written.
struct KeywordLine {
    SourceFile file = SourceFile::kLine;
    int line = 0;
    Intent intent{};
    Span keyword_span;
    std::string_view keyword_text;  // the keyword field as written
    std::vector<Value> values;      // one per value of the keyword; none when the count is wrong
    bool usable = true;             // every value is there, a number its field can take

    Keyword keyword() const { return intent.keyword; }
    std::int64_t number(std::size_t k) const { return values[k].number; }
};

// Judges the lines of one text as the reader hands them on. The lines that
// the reader reads as the keyword they are written as go to `sink`, in file
// order, usable or not.
class LineJudge : public LineSink {
public:
    LineJudge(SourceFile file, const ReadingSummary& summary, Report& report,
              std::function<void(const KeywordLine&)> sink);

    void line(const LineReading& reading) override;
    bool wants_more() const override { return !r_.full(); }

private:
    const FieldUse& use(std::size_t i) const;
    const KeywordReading& reading(int i) const;
    bool own(const std::optional<Intent>& intent) const;

    void judge(std::size_t a, std::size_t b);
    void before_start(const FieldUse& first, const std::optional<Intent>& intent);
    void start_elsewhere(const FieldUse& first);
    void never_read(const FieldUse& first, const std::optional<Intent>& intent);
    void dash_in_keyword(const FieldUse& first, std::size_t fields_on_line);
    void keyword_field(std::size_t a, std::size_t b, const std::optional<Intent>& intent);
    void unread(const FieldUse& first, const std::optional<Intent>& intent);
    void unknown_keyword(const Field& field, const std::string& n);
    void header(const Field& field, const std::string& n);
    void taken_for_keyword(const FieldUse& at, Keyword keyword);
    std::string keyword_hint(const std::string& n, std::string_view spelling) const;
    void others_taken_for_keywords(std::size_t from, std::size_t to);
    void values(std::size_t a, std::size_t b, const KeywordReading& rd, const Intent& intent);
    void field_count(const KeywordReading& rd, std::optional<std::size_t> first_extra, std::size_t written);
    bool text_taken_for_number(const KeywordReading& rd) const;
    std::string number_missing(const KeywordReading& rd) const;
    std::string time_hint(const KeywordReading& rd) const;

    SourceFile file_;
    const ReadingSummary& summary_;
    Report& r_;
    std::function<void(const KeywordLine&)> sink_;
    const LineReading* line_ = nullptr;
};

// Control characters in the text: one warning per line.
void check_control_characters(std::string_view text, SourceFile file, Report& report);

// A file whose last line is not [fine].
void check_final_line(std::string_view text, SourceFile file, Report& report);

}  // namespace scenariogen::lint
