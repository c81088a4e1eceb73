// Conversions of the compiler: reals round to the nearest integer, ties to
// even; a rounded value that does not fit its target is a run-time failure;
// integers stored into narrower members keep their low bits.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "compiler/reading_failure.h"

namespace scenariogen {

namespace detail {
// The nearest integer, ties to even, in SSE arithmetic on every system (the C
// library of Windows rounds with the x87 unit): adding 2^52 to a smaller
// magnitude leaves no fraction, so the sum is rounded to nearest by the
// addition itself, and taking 2^52 away again is exact.
inline double nearest_even(double x) {
    constexpr double kTwoTo52 = 4503599627370496.0;
    const double magnitude = std::fabs(x);
    if (!(magnitude < kTwoTo52)) return x;  // already whole, or not a number
    return std::copysign((magnitude + kTwoTo52) - kTwoTo52, x);
}

inline double rounded_in(double x, double low, double high, const char* target) {
    const double r = nearest_even(x);
    if (!(r >= low && r <= high)) {
        throw ReadingFailure("the computed value " + std::to_string(x) + " does not fit " + target);
    }
    return r;
}
}  // namespace detail

// nearest(x) as a 32-bit integer.
inline std::int32_t nearest(double x) {
    return static_cast<std::int32_t>(detail::rounded_in(x, -2147483648.0, 2147483647.0, "32 bits"));
}

// A whole value that must fit 32 bits.
inline std::int32_t fit32(std::int64_t v) {
    return static_cast<std::int32_t>(
        detail::rounded_in(static_cast<double>(v), -2147483648.0, 2147483647.0, "32 bits"));
}

// nearest(x) as a 16-bit integer.
inline std::int16_t nearest16(double x) {
    return static_cast<std::int16_t>(detail::rounded_in(x, -32768.0, 32767.0, "16 bits (-32768 to 32767)"));
}

// byte(x): nearest(x) as an unsigned 8-bit value.
inline std::uint8_t byte(double x) {
    return static_cast<std::uint8_t>(detail::rounded_in(x, 0.0, 255.0, "one byte (0 to 255)"));
}

// The low 16 and 8 bits of an integer, computed without overflow.
inline std::int16_t low16(std::int64_t v) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(v) & 0xFFFFu));
}
inline std::uint8_t low8(std::int64_t v) { return static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) & 0xFFu); }
inline std::int32_t low32(std::int64_t v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v) & 0xFFFFFFFFu));
}

}  // namespace scenariogen
