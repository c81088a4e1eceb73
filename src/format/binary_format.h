// The byte layouts of the three binary files, shared by the writers and by
// every reader of them. All integers are little-endian two's complement,
// records are packed, strings are a 16-bit length and 8-bit characters.
#pragma once

#include <cstddef>
#include <cstdint>

namespace scenariogen::format {

// The route: one cell per 50 m, and 7000 m of run-out after the line's length.
inline constexpr std::int32_t kCellLength = 50;
inline constexpr std::int32_t kRunOut = 7000;

// Header values: cell 1's first value, and the station table's entry 85.
inline constexpr std::int16_t kCellFileHeader = 5121;
inline constexpr std::int16_t kStationTableHeader = 610;

// Cell file: one 16-byte record per cell, cells 0 to U in order.
inline constexpr std::size_t kCellSize = 16;
namespace cell {
inline constexpr std::size_t kTipo = 0;
inline constexpr std::size_t kRiservato = 1;
inline constexpr std::size_t kValore1 = 2;
inline constexpr std::size_t kValore2 = 4;
inline constexpr std::size_t kValore3 = 6;
inline constexpr std::size_t kValore4 = 8;
inline constexpr std::size_t kTempoSegnale = 10;
inline constexpr std::size_t kPreavviso = 11;
inline constexpr std::size_t kMontagna = 12;
inline constexpr std::size_t kVelocitaLimite = 13;
inline constexpr std::size_t kPendenza = 14;
inline constexpr std::size_t kAderenza = 15;
}  // namespace cell

// Station table file: 87 records of 34 + n bytes, n the length of the name.
inline constexpr std::size_t kStationEntries = 87;
inline constexpr std::size_t kStationFixedSize = 34;
namespace station {
inline constexpr std::size_t kTipo = 0;
inline constexpr std::size_t kInizio = 1;
inline constexpr std::size_t kFine = 5;
inline constexpr std::size_t kPosizione = 9;
inline constexpr std::size_t kAttributo5 = 13;
inline constexpr std::size_t kNomeLength = 14;
inline constexpr std::size_t kNome = 16;
// Offsets after the name, counted from its end (16 + n).
inline constexpr std::size_t kAttributo7 = 0;
inline constexpr std::size_t kAttributo8 = 2;
inline constexpr std::size_t kAttributo9 = 4;
inline constexpr std::size_t kAttributo10 = 6;
inline constexpr std::size_t kAttributo11 = 8;
inline constexpr std::size_t kAttributo12 = 10;
inline constexpr std::size_t kSosta = 11;
inline constexpr std::size_t kAttributo14 = 12;
inline constexpr std::size_t kAttributo15 = 13;
inline constexpr std::size_t kOrario = 14;
inline constexpr std::size_t kTailSize = 18;
}  // namespace station

// Grid file: 2·(G + 1) tagged values, all x for metres 0 to G, then all y.
namespace grid {
inline constexpr std::uint16_t kEmpty = 0;
inline constexpr std::uint16_t kInt16 = 2;
inline constexpr std::uint16_t kDouble = 5;
}  // namespace grid

}  // namespace scenariogen::format
