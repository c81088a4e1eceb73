// What the editor says of a keyword and its values, in Markdown: taken from
// the description format's own table of keywords (syntax/keywords.h).
#pragma once

#include <string>

#include "syntax/keywords.h"

namespace scenariogen::lsp {

// The keyword's summary and a table of its values with units and meanings.
std::string keyword_documentation(syntax::Keyword keyword);

// One value: its name, unit and meaning.
std::string value_documentation(const syntax::ValueShape& value);

// The line as a snippet in the protocol's syntax, each value a placeholder;
// or, for a client that cannot expand snippets, the keyword and a comma.
std::string keyword_snippet(syntax::Keyword keyword, bool snippet);

}  // namespace scenariogen::lsp
