// Keyword tests: substring searches on a field, with or without regard to
// letter case.
#pragma once

#include <algorithm>
#include <string_view>

namespace scenariogen {

inline bool contains(std::string_view field, std::string_view text) {
    return field.find(text) != std::string_view::npos;
}

// `text` is given in lower case.
inline bool contains_any_case(std::string_view field, std::string_view text) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::search(field.begin(), field.end(), text.begin(), text.end(),
                       [&](char a, char b) { return lower(a) == b; }) != field.end();
}

}  // namespace scenariogen
