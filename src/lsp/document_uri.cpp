#include "lsp/document_uri.h"

namespace scenariogen::lsp {

namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool unreserved(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/';
}

bool drive_letter(std::string_view path) {
    return path.size() >= 3 && path[0] == '/' &&
           ((path[1] >= 'a' && path[1] <= 'z') || (path[1] >= 'A' && path[1] <= 'Z')) && path[2] == ':';
}

}  // namespace

std::optional<std::string> uri_to_path(std::string_view uri) {
    constexpr std::string_view kScheme = "file://";
    if (uri.substr(0, kScheme.size()) != kScheme) return std::nullopt;
    uri.remove_prefix(kScheme.size());
    const std::size_t slash = uri.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view authority = uri.substr(0, slash);
    if (!authority.empty() && authority != "localhost") return std::nullopt;
    uri.remove_prefix(slash);
    uri = uri.substr(0, uri.find_first_of("?#"));
    std::string path;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] != '%') {
            path += uri[i];
            continue;
        }
        if (i + 2 >= uri.size() || hex_value(uri[i + 1]) < 0 || hex_value(uri[i + 2]) < 0) return std::nullopt;
        path += static_cast<char>(hex_value(uri[i + 1]) * 16 + hex_value(uri[i + 2]));
        i += 2;
    }
    if (path.find('\0') != std::string::npos) return std::nullopt;
    if (drive_letter(path)) path.erase(0, 1);
    return path;
}

std::string path_to_uri(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    if (path.empty() || path.front() != '/') uri += '/';
    for (char c : path) {
        if (c == '\\') c = '/';  // a Windows path
        if (unreserved(c)) {
            uri += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 15];
        }
    }
    return uri;
}

}  // namespace scenariogen::lsp
