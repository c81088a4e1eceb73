// Each line of a description against what the reader makes of it: a line
// whose keyword is written out in full must be read as that keyword, with
// all its values from its own line and nothing left over; every other field
// that the reader takes for a keyword, and every line that it drops, is a
// fault at its place.
#pragma once

#include <string_view>
#include <vector>

#include "lint/keywords.h"
#include "lint/reading_model.h"
#include "lint/report.h"
#include "lint/value_checks.h"

namespace scenariogen::lint {

// A keyword line that the reader reads as it is written.
struct KeywordLine {
    SourceFile file = SourceFile::kLine;
    int line = 0;
    Intent intent{};
    Span keyword_span;
    std::vector<Value> values;  // one per value of the keyword
    bool usable = true;         // every value is a number its field can take

    Keyword keyword() const { return intent.keyword; }
    std::int64_t number(std::size_t k) const { return values[k].number; }
};

// Judges every line of one text; the keyword lines that can be followed
// further come back in file order.
std::vector<KeywordLine> judge_lines(const ReadingModel& model, std::string_view text, Report& report);

// The section headers of a file, in the order the file keeps them.
const std::vector<std::string>& headers(SourceFile file);

// Control characters in the text: one warning per line.
void check_control_characters(std::string_view text, SourceFile file, Report& report);

// A file whose last line is not [fine].
void check_final_line(std::string_view text, SourceFile file, Report& report);

}  // namespace scenariogen::lint
