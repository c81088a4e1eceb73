// A description as the editor shows it: each line as the description reader
// reads it (a header, a comment the reader skips, a keyword line with its
// values, a line no keyword claims), and the sections between the headers.
// It comes from the reader itself, reading by lines, so the editor never
// contradicts the compiler. Lines are 0-based here, as in the protocol;
// columns count characters, 0-based.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/description_reader.h"

namespace scenariogen::lsp {

enum class LineKind {
    kBlank,
    kIgnored,  // before [generale], a field no keyword claims, or never read
    kHeader,   // [curve], [stazioni], ...
    kComment,  // its first field holds a dash: the reader skips it
    kKeyword,
};

// A field of a line: its columns, 0-based, from its first character to past
// its last.
struct ViewField {
    int begin = 0;
    int end = 0;
    std::string_view text;  // Windows-1252
};

struct ViewLine {
    LineKind kind = LineKind::kBlank;
    std::optional<syntax::Keyword> keyword;  // kKeyword: the first keyword the reader took its field for
    std::vector<ViewField> fields;           // every field the reader read on the line, in order
    int keyword_field = -1;                  // kKeyword: the index of the keyword field among them
    std::vector<int> values;                 // kKeyword: the indexes of the keyword's values, in order
    std::size_t missing = 0;                 // values the line lacks

    const ViewField* value(std::size_t k) const {
        return k < values.size() ? &fields[static_cast<std::size_t>(values[k])] : nullptr;
    }
};

struct ViewSection {
    int header_line = 0;
    int last_line = 0;  // its last line that is not blank
    std::string name;   // the header as written, "[curve]", in Windows-1252
};

struct DescriptionView {
    std::vector<ViewLine> lines;  // one per line of the text
    std::vector<ViewSection> sections;
};

// `text` in Windows-1252; `file` says which reader reads it.
DescriptionView view_description(std::string_view text, SourceFile file);

}  // namespace scenariogen::lsp
