// Values stored into and loaded from the bytes of a record, little-endian
// whatever the host's byte order: a member at its field of the layout.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "format/binary_format.h"

namespace scenariogen::format {

// The low `size` bytes of v at p, least significant first.
inline void store_le(char* p, std::uint64_t v, std::size_t size) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(p, &v, size);
    } else {
        for (std::size_t i = 0; i < size; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

// `size` bytes at p, least significant first, as an unsigned integer.
inline std::uint64_t load_le(const char* p, std::size_t size) {
    std::uint64_t v = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&v, p, size);
    } else {
        for (std::size_t i = 0; i < size; ++i) v |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
    }
    return v;
}

// A member stored at its field of a record; signed values keep their two's
// complement bits. The field is as wide as the member's type.
template <Field field, typename T>
void store_field(char* record, T value) {
    static_assert(field.size == sizeof(T), "the member's type and its field differ in size");
    std::uint64_t bits = 0;
    if constexpr (std::is_same_v<T, double>) {
        bits = std::bit_cast<std::uint64_t>(value);
    } else {
        bits = static_cast<std::uint64_t>(static_cast<std::make_unsigned_t<T>>(value));
    }
    store_le(record + field.offset, bits, field.size);
}

// A member loaded from its field of a record, as the type that holds it.
template <Field field, typename T>
T load_field(const char* record) {
    static_assert(field.size == sizeof(T), "the member's type and its field differ in size");
    const std::uint64_t bits = load_le(record + field.offset, field.size);
    if constexpr (std::is_same_v<T, double>) {
        return std::bit_cast<double>(bits);
    } else {
        return static_cast<T>(static_cast<std::make_unsigned_t<T>>(bits));
    }
}

// A grid value: its tag, and after it the double's bytes.
inline void store_grid_double(char* p, double v) {
    store_le(p, grid::kDouble, grid::kTagSize);
    store_le(p + grid::kTagSize, std::bit_cast<std::uint64_t>(v), 8);
}

}  // namespace scenariogen::format
