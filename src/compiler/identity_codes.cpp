#include "compiler/identity_codes.h"

namespace scenariogen {

namespace {

constexpr std::string_view kPad = "aabbccddeeffgghhiillmmnnoo";
constexpr std::size_t kWindowLength = 25;

// Lower case in the 8-bit code page of the names (Windows-1252).
unsigned char to_lower_1252(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<unsigned char>(c + 0x20);
    switch (c) {
        case 0x8A:
            return 0x9A;
        case 0x8C:
            return 0x9C;
        case 0x8E:
            return 0x9E;
        case 0x9F:
            return 0xFF;
        default:
            return c;
    }
}

std::string window_of(const StationTable& table) {
    return identity_window(table[kSignallingEntry].name, table[kScenarioEntry].name);
}

}  // namespace

std::string identity_window(const std::string& train_number, const std::string& scenario_name) {
    std::string s = train_number + scenario_name;
    for (char& c : s) c = static_cast<char>(to_lower_1252(static_cast<unsigned char>(c)));
    s += kPad;
    return s.substr(0, kWindowLength);
}

std::int16_t short_identity_code(const StationTable& table) {
    std::int32_t sum = 0;
    for (const char c : window_of(table)) sum += static_cast<unsigned char>(c);
    return static_cast<std::int16_t>(sum);  // at most 25 × 255
}

std::int32_t long_identity_code(const StationTable& table) {
    std::int32_t sum = 0;
    std::int32_t weight = 1;
    for (const char c : window_of(table)) sum += weight++ * static_cast<unsigned char>(c);
    return sum;
}

}  // namespace scenariogen
