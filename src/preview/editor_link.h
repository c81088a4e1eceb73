// The link of a fault on the page that opens the author's editor at the
// fault's line and column: a URL template in which {path}, {line} and
// {column} are replaced (VS Code's by default; --editor-url for others).
#pragma once

#include <string>
#include <string_view>

namespace scenariogen {

inline constexpr std::string_view kDefaultEditorUrl = "vscode://file{path}:{line}:{column}";

// The template with the file's absolute path as a URL path (forward
// slashes, a leading slash, bytes other than letters, digits and -._~/:
// percent-encoded), the line and the column (each at least 1).
std::string editor_link(std::string_view url_template, std::string_view absolute_path, int line, int column);

// Why a template cannot serve as an editor's link; empty when it can: it
// must start with a scheme ("vscode:", "subl:", "http:" ...), not one that
// runs code in the page, and name the {path}.
std::string editor_url_fault(std::string_view url_template);

}  // namespace scenariogen
