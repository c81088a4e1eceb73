// The one obvious fix of a diagnostic, where it has one: computed from the
// diagnostic's name and place and from the reader's reading of its line,
// never from the words of its message.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lsp/description_view.h"

namespace scenariogen::lsp {

// A change to one line of a document: the characters `begin` to `end`
// (0-based, as the reader counts columns) replaced by `text` (UTF-8). A
// whole-line edit removes the line with its line end instead.
struct LineEdit {
    bool partner = false;  // in the partner description, not in the document
    int line = 0;
    int begin = 0;
    int end = 0;
    std::string text;
    bool whole_line = false;
};

struct QuickFix {
    std::string title;
    std::vector<LineEdit> edits;
    bool preferred = false;
    // The fix is offered only once the texts it leaves compile with nothing
    // more to say about its line: a value moved onto the 50 m grid must not
    // land on another object.
    bool needs_check = false;
};

// Where a diagnostic stands, as the fixes need it.
struct FixSite {
    std::string name;  // the check's name ("unknown-keyword"); empty when it has none
    int line = 0;      // 0-based
    int column = 0;    // its first character, 0-based
};

// The text a fix may need of the partner description, as the reader reads
// it (Windows-1252), for a line that belongs there.
struct PartnerText {
    std::string_view description;
    std::string_view line_end;  // the partner's own line end
};

// The fix of a diagnostic at `site` in a document read as `view`, whose
// line `line_text` (Windows-1252) is given; none when the diagnostic has no
// single obvious fix.
std::optional<QuickFix> quick_fix(const FixSite& site, const DescriptionView& view, SourceFile file,
                                  std::string_view line_text, const PartnerText* partner);

}  // namespace scenariogen::lsp
