#include "syntax/number_token.h"

#include <limits>

namespace scenariogen::syntax {

NumberToken read_number_token(std::string_view token) {
    NumberToken number;
    if (token.empty()) {
        number.empty = true;
        number.value = 0;
        return number;
    }
    const bool negative = token.front() == '-';
    if (negative || token.front() == '+') token.remove_prefix(1);
    if (token.empty() || token.find_first_not_of("0123456789") != std::string_view::npos) {
        number.is_number = false;
        return number;
    }
    const std::size_t first_significant = token.find_first_not_of('0');
    const std::string_view digits =
        first_significant == std::string_view::npos ? std::string_view() : token.substr(first_significant);
    constexpr std::size_t kLongestHeld = 18;  // fits an int64 whatever the digits
    if (digits.size() > kLongestHeld) {
        number.fits_32_bits = false;
        return number;
    }
    std::int64_t value = 0;
    for (const char c : digits) value = value * 10 + (c - '0');
    if (negative) value = -value;
    number.value = value;
    number.fits_32_bits =
        value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max();
    return number;
}

}  // namespace scenariogen::syntax
