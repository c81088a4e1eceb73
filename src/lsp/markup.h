// Text for the client in the markup it accepts. The server writes its
// hover and documentation texts in markdown; a client that shows only plain
// text gets the same words without markdown's marks, its tables as columns.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace scenariogen::lsp {

// The markdown the server writes (bold, code spans, tables, rules) as
// plain text.
std::string plain_text(std::string_view markdown);

// A MarkupContent of `markdown`, or of its plain text when the client does
// not accept markdown.
nlohmann::json markup_content(std::string markdown, bool markdown_accepted);

}  // namespace scenariogen::lsp
