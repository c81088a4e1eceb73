// The shape of a description as the editor shows it: its lines as headers,
// comments and keyword lines, its sections, and the fields of each line,
// split the way the compiler's reader splits them. This is a reading of the
// text alone, line by line; what the lines become is the compiler's.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lsp/document_text.h"
#include "lsp/keyword_catalogue.h"

namespace scenariogen::lsp {

// A field of one line: columns from its first non-blank byte to its end,
// and to the comma or line end that closes it.
struct FieldSpan {
    int begin = 0;
    int end = 0;        // past the last non-blank byte
    int closed_at = 0;  // the comma's column, or the line's length
};

// The comma fields of a line; a text that begins with a double quote runs
// to its closing quote, commas included. A blank line has none.
std::vector<FieldSpan> comma_fields(std::string_view line);

// The values of a keyword line, in the keyword's order: a number ends at a
// blank as well as at a comma. Holds as many as the line has.
std::vector<FieldSpan> value_fields(std::string_view line, const FieldSpan& keyword_field, const KeywordInfo& keyword);

enum class LineKind {
    kBlank,
    kIgnored,  // before [generale], or a field no keyword claims
    kHeader,   // [curve], [stazioni], ...
    kComment,  // its first field holds a dash: the reader skips it
    kKeyword,
};

struct OutlineLine {
    LineKind kind = LineKind::kBlank;
    const KeywordInfo* keyword = nullptr;  // kKeyword only
    FieldSpan first;                       // the first field, when the line has one
};

struct Section {
    int header_line = 0;  // 0-based
    int last_line = 0;    // its last line that is not blank
    std::string name;     // the header as written, "[curve]"
};

struct Outline {
    std::vector<OutlineLine> lines;
    std::vector<Section> sections;
};

Outline outline(const DocumentText& text, DescriptionRole role);

// The value written in a field, when it is a whole number.
bool field_number(std::string_view line, const FieldSpan& field, long long& value);

}  // namespace scenariogen::lsp
