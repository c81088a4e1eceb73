#include "lint/time_in_one_field.h"

#include <vector>

namespace scenariogen::lint {

namespace {

// "7:21:00" -> {7, 21, 0}; empty when the field is not two or three groups
// of one or two digits joined by ':' or '.'.
std::vector<int> time_parts(std::string_view field) {
    std::vector<int> parts;
    int value = 0;
    int digits = 0;
    for (const char c : field) {
        if (c >= '0' && c <= '9' && digits < 2) {
            value = value * 10 + (c - '0');
            ++digits;
        } else if ((c == ':' || c == '.') && digits > 0) {
            parts.push_back(value);
            value = 0;
            digits = 0;
        } else {
            return {};
        }
    }
    if (digits == 0) return {};
    parts.push_back(value);
    if (parts.size() < 2 || parts.size() > 3 || parts[0] > 23 || parts[1] > 59) return {};
    // "6.5" is a decimal number; "7:21", "7.21.00" and "7:21:00" are times.
    if (parts.size() == 2 && field.find(':') == std::string_view::npos) return {};
    if (parts.size() == 3 && parts[2] > 59) return {};
    return parts;
}

}  // namespace

std::optional<std::string> time_in_one_field(std::string_view field) {
    const std::vector<int> parts = time_parts(field);
    if (parts.empty()) return std::nullopt;
    const int seconds = parts.size() == 3 ? parts[2] : 0;
    return "'" + std::string(field) + "' is a whole time in one field: write its hours, minutes and seconds as " +
           "three numbers, each after a comma (" + std::to_string(parts[0]) + ",  " + std::to_string(parts[1]) + ",  " +
           std::to_string(seconds) + ")";
}

}  // namespace scenariogen::lint
