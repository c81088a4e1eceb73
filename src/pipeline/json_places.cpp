#include "pipeline/json_places.h"

namespace scenariogen {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// One past the closing quote of the string that opens at `at`.
std::size_t string_end(std::string_view text, std::size_t at) {
    std::size_t i = at + 1;
    while (i < text.size() && text[i] != '"') i += text[i] == '\\' ? 2U : 1U;
    return i < text.size() ? i + 1 : text.size();
}

std::size_t skip_blanks(std::string_view text, std::size_t i) {
    while (i < text.size() && is_blank(text[i])) ++i;
    return i;
}

// One past the last byte of the value that begins at `at`: a string, an
// object or array (nested to any depth), or a literal or number.
std::size_t value_end(std::string_view text, std::size_t at) {
    int depth = 0;
    std::size_t i = at;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"') {
            i = string_end(text, i);
            if (depth == 0) return i;
            continue;
        }
        if (c == '{' || c == '[') ++depth;
        if (c == '}' || c == ']') {
            if (depth == 0) return i;
            if (--depth == 0) return i + 1;
        }
        if (depth == 0 && (c == ',' || is_blank(c))) return i;
        ++i;
    }
    return i;
}

}  // namespace

TextPlace place_of_offset(std::string_view text, std::size_t offset) {
    TextPlace place;
    std::size_t line_start = 0;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++place.line;
            line_start = i + 1;
        }
    }
    const std::size_t end = offset < text.size() ? offset : text.size();
    place.column = static_cast<int>(end - line_start) + 1;
    return place;
}

std::vector<MemberPlace> top_level_members(std::string_view text) {
    std::vector<MemberPlace> members;
    std::size_t i = skip_blanks(text, 0);
    if (text.substr(i, 3) == "\xEF\xBB\xBF") i = skip_blanks(text, i + 3);
    if (i >= text.size() || text[i] != '{') return members;
    i = skip_blanks(text, i + 1);
    while (i < text.size() && text[i] == '"') {
        MemberPlace member;
        member.key_begin = i;
        member.key_end = string_end(text, i);
        member.raw_key = std::string(text.substr(i + 1, member.key_end - i - 2));
        i = skip_blanks(text, member.key_end);
        if (i < text.size() && text[i] == ':') i = skip_blanks(text, i + 1);
        member.value_begin = i;
        member.value_end = value_end(text, i);
        members.push_back(std::move(member));
        i = skip_blanks(text, members.back().value_end);
        if (i < text.size() && text[i] == ',') i = skip_blanks(text, i + 1);
    }
    return members;
}

}  // namespace scenariogen
