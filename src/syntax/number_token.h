// A number field as the reader reads it: a signed decimal integer ("+" or
// "-" before its digits) that must fit 32 bits; a field of blanks only reads
// as 0. Anything else in a number field stops the reading.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace scenariogen::syntax {

struct NumberToken {
    bool empty = false;     // nothing but blanks: read as 0
    bool is_number = true;  // digits with an optional sign (or empty)
    // The value written, when it is a number of at most 18 significant
    // digits (leading zeros do not count).
    std::optional<std::int64_t> value;
    bool fits_32_bits = true;  // a number that the reader can hold
};

NumberToken read_number_token(std::string_view token);

}  // namespace scenariogen::syntax
