// The byte layouts of the three binary files, stated once: the writer puts
// every member at its field and the reader takes it from there. All integers
// are little-endian two's complement, records are packed, a name is a 16-bit
// length and that many 8-bit characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace scenariogen::format {

// The route: one cell per 50 m, and 7000 m of run-out after the line's length.
inline constexpr std::int32_t kCellLength = 50;
inline constexpr std::int32_t kRunOut = 7000;

// Header values that the compiler stores in every scenario it writes: cell
// 1's first value, and attribute 7 of the station table's entry 85.
inline constexpr std::int16_t kCellFileHeader = 5121;
inline constexpr std::int16_t kStationTableHeader = 610;

// The least a compiled route holds, for a line of length 0: cells 0 to
// run-out / 50, and the plan's metres 0 to the run-out.
inline constexpr std::size_t kFewestCells = kRunOut / kCellLength + 1;
inline constexpr std::size_t kFewestGridMetres = kRunOut + 1;
static_assert(kFewestCells == 141 && kFewestGridMetres == 7001);

// A member of a record: where it starts and how many bytes it takes.
struct Field {
    std::size_t offset;
    std::size_t size;
    constexpr std::size_t end() const { return offset + size; }
};

// Whether the fields, in order, cover the bytes 0 to `size` of a record
// exactly, each one after the other.
constexpr bool tiles(std::initializer_list<Field> fields, std::size_t size) {
    std::size_t at = 0;
    for (const Field& f : fields) {
        if (f.offset != at || f.size == 0) return false;
        at = f.end();
    }
    return at == size;
}

// Cell file: one 16-byte record per cell, cells 0 to U in order.
namespace cell {
inline constexpr Field kKind{0, 1};
inline constexpr Field kReserved{1, 1};
inline constexpr Field kValue1{2, 2};
inline constexpr Field kValue2{4, 2};
inline constexpr Field kValue3{6, 2};
inline constexpr Field kValue4{8, 2};
inline constexpr Field kSignalTime{10, 1};
inline constexpr Field kApproachMarker{11, 1};
inline constexpr Field kMountainKind{12, 1};
inline constexpr Field kSpeedLimit{13, 1};
inline constexpr Field kGradient{14, 1};
inline constexpr Field kAdhesion{15, 1};
inline constexpr std::size_t kSize = 16;
static_assert(tiles({kKind, kReserved, kValue1, kValue2, kValue3, kValue4, kSignalTime, kApproachMarker, kMountainKind,
                     kSpeedLimit, kGradient, kAdhesion},
                    kSize));
}  // namespace cell
inline constexpr std::size_t kCellSize = cell::kSize;

// Station table file: 87 records of 34 + n bytes, n the length of the name:
// a head of 16 bytes that ends with the name's length, the name, and a tail
// of 18 bytes.
inline constexpr std::size_t kStationEntries = 87;
namespace station {
inline constexpr Field kKind{0, 1};
inline constexpr Field kStart{1, 4};
inline constexpr Field kEnd{5, 4};
inline constexpr Field kPosition{9, 4};
inline constexpr Field kAttribute5{13, 1};
inline constexpr Field kNameLength{14, 2};
inline constexpr std::size_t kHeadSize = 16;
static_assert(tiles({kKind, kStart, kEnd, kPosition, kAttribute5, kNameLength}, kHeadSize));
// The tail's fields, counted from the name's end (16 + n).
inline constexpr Field kAttribute7{0, 2};
inline constexpr Field kAttribute8{2, 2};
inline constexpr Field kAttribute9{4, 2};
inline constexpr Field kAttribute10{6, 2};
inline constexpr Field kAttribute11{8, 2};
inline constexpr Field kAttribute12{10, 1};
inline constexpr Field kDwell{11, 1};
inline constexpr Field kAttribute14{12, 1};
inline constexpr Field kAttribute15{13, 1};
inline constexpr Field kTime{14, 4};
inline constexpr std::size_t kTailSize = 18;
static_assert(tiles({kAttribute7, kAttribute8, kAttribute9, kAttribute10, kAttribute11, kAttribute12, kDwell,
                     kAttribute14, kAttribute15, kTime},
                    kTailSize));
// The longest name the 16-bit length can state.
inline constexpr std::size_t kLongestName = 0xFFFF;
}  // namespace station
inline constexpr std::size_t kStationFixedSize = station::kHeadSize + station::kTailSize;
static_assert(kStationFixedSize == 34);

// Grid file: 2·(G + 1) tagged values, all x for metres 0 to G, then all y.
// A value is its 16-bit tag and, after it, nothing, a 16-bit integer or a
// double.
namespace grid {
inline constexpr std::uint16_t kEmpty = 0;
inline constexpr std::uint16_t kInt16 = 2;
inline constexpr std::uint16_t kDouble = 5;
inline constexpr std::size_t kTagSize = 2;
inline constexpr std::size_t kEmptySize = kTagSize;
inline constexpr std::size_t kInt16Size = kTagSize + 2;
inline constexpr std::size_t kDoubleSize = kTagSize + 8;
// The bytes a value of this tag takes, its tag included.
constexpr std::size_t value_size(std::uint16_t tag) {
    return tag == kDouble ? kDoubleSize : tag == kInt16 ? kInt16Size : kEmptySize;
}
// Metres 0 and 1 of a compiled plan hold 16-bit integers; the computed
// metres after them hold doubles.
inline constexpr std::size_t kIntegerMetres = 2;
}  // namespace grid

}  // namespace scenariogen::format
