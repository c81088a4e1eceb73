#include "preview/editor_link.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace scenariogen {

namespace {

bool kept_in_path(unsigned char c) {
    return std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~' || c == '/' || c == ':';
}

std::string url_path(std::string_view path) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string out;
    if (path.empty() || (path.front() != '/' && path.front() != '\\')) out += '/';
    for (const char raw : path) {
        const auto c = static_cast<unsigned char>(raw == '\\' ? '/' : raw);
        if (kept_in_path(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

void replace_all(std::string& text, std::string_view name, const std::string& value) {
    for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size())) {
        text.replace(at, name.size(), value);
    }
}

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return out;
}

}  // namespace

std::string editor_link(std::string_view url_template, std::string_view absolute_path, int line, int column) {
    std::string link(url_template);
    replace_all(link, "{path}", url_path(absolute_path));
    replace_all(link, "{line}", std::to_string(std::max(line, 1)));
    replace_all(link, "{column}", std::to_string(std::max(column, 1)));
    return link;
}

std::string editor_url_fault(std::string_view url_template) {
    const std::size_t colon = url_template.find(':');
    const std::string_view scheme = url_template.substr(0, colon);
    const bool scheme_shaped =
        colon != std::string_view::npos && !scheme.empty() && std::isalpha(static_cast<unsigned char>(scheme[0])) &&
        std::all_of(scheme.begin(), scheme.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '+' || c == '-' || c == '.';
        });
    if (!scheme_shaped) return "the editor's URL must start with its scheme, as vscode://file{path}:{line}:{column}";
    constexpr std::array<std::string_view, 3> kRunsCode{"javascript", "data", "vbscript"};
    if (std::find(kRunsCode.begin(), kRunsCode.end(), lower(scheme)) != kRunsCode.end()) {
        return "the editor's URL must not be a " + lower(scheme) + ": URL";
    }
    if (url_template.find("{path}") == std::string_view::npos) return "the editor's URL must hold {path}";
    return {};
}

}  // namespace scenariogen
