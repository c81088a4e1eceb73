// Document URIs and the file paths they name. Only "file:" URIs name a
// file; an editor's unsaved buffer has another scheme and no path.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scenariogen::lsp {

// The path of a "file:" URI, percent-decoded; "file:///c%3A/x" becomes
// "c:/x". None for any other scheme or a malformed URI.
std::optional<std::string> uri_to_path(std::string_view uri);

// A "file:" URI for an absolute path.
std::string path_to_uri(std::string_view path);

}  // namespace scenariogen::lsp
