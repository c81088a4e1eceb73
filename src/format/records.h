// The scenario records: the route cells, the station table and the plan grid.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/uninitialised_allocator.h"

namespace scenariogen {

// One 50 m stretch of route. Cell i covers the metres 50·(i − 1) to 50·i.
struct Cell {
    std::uint8_t kind = 0;      // the object in the cell, see CellKind
    std::uint8_t reserved = 0;  // never written
    std::int16_t value_1 = 0;
    std::int16_t value_2 = 0;
    std::int16_t value_3 = 0;
    std::int16_t value_4 = 0;
    std::uint8_t signal_time = 0;      // signal cells: the signal's time value
    std::uint8_t approach_marker = 0;  // approach marker before a signal or a station end
    std::uint8_t mountain_kind = 0;    // kind of mountain stretch
    std::uint8_t speed_limit = 0;      // line speed in units of 5 km/h
    std::uint8_t gradient = 0;         // gradient in per mille + 100
    std::uint8_t adhesion = 0;         // adhesion value
};

// Cell type codes.
enum CellKind : std::uint8_t {
    kEmpty = 0,
    kSignal = 1,
    kSlowdownEnd = 2,
    kSlowdownStart = 3,
    kSlowdownWarning = 4,
    kBeforeWarning = 5,
    kSpeedBoard = 6,
    kStationEnd = 10,
    kMountainMarker = 11,
    kCodeDrop = 12,
    kCodeDropWithoutValue = 13,
    kSign = 14,
};

// A cell is free for a new object when it is empty or holds only a
// mountain marker.
inline bool is_free(const Cell& cell) { return cell.kind == kEmpty || cell.kind == kMountainMarker; }

// One record of the station table: a station, a sign text or header values.
struct StationEntry {
    std::uint8_t kind = 0;
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::int32_t position = 0;
    std::uint8_t attribute_5 = 0;
    std::string name;
    std::int16_t attribute_7 = 0;
    std::int16_t attribute_8 = 0;
    std::int16_t attribute_9 = 0;
    std::int16_t attribute_10 = 0;
    std::int16_t attribute_11 = 0;
    std::uint8_t attribute_12 = 0;
    std::uint8_t dwell = 0;
    std::uint8_t attribute_14 = 0;
    std::uint8_t attribute_15 = 0;
    std::int32_t time = 0;
};

// Entries 0 to 86: stations from 1 upward, sign texts from 80 downward,
// kilometric progressives in 81 to 83, header values in 84 to 86.
inline constexpr int kTableEntries = 87;
inline constexpr int kFirstSignEntry = 80;
inline constexpr int kProgressiveThreeEntry = 81;
inline constexpr int kProgressiveTwoEntry = 82;
inline constexpr int kProgressiveOneEntry = 83;
inline constexpr int kTrainEntry = 84;
inline constexpr int kScenarioEntry = 85;
inline constexpr int kSignallingEntry = 86;

using StationTable = std::array<StationEntry, kTableEntries>;

// A grid's coordinates are written metre by metre before they are read, so
// zeroing a million of them first would be waste.
using Coordinates = std::vector<double, uninitialised_allocator<double>>;

// The plan grid: x and y of the track's centre line for metres 0 to G.
// Metres 0 and 1 hold 16-bit integers once the track's start is set; the
// metres after them are computed one by one, so the computed metres are
// always 2 up to `computed_metres` - 1, and every later metre is empty (its
// element holds no value and is never read).
struct Grid {
    std::int32_t last_metre = -1;      // G; -1 while the grid has no size
    std::int32_t computed_metres = 0;  // 0: empty; otherwise metres below it hold values
    Coordinates x;
    Coordinates y;

    bool has_size() const { return last_metre >= 0; }
    void set_size(std::int32_t g) {
        last_metre = g;
        computed_metres = 0;
        x.resize(static_cast<std::size_t>(g) + 1);
        y.resize(static_cast<std::size_t>(g) + 1);
    }
};

}  // namespace scenariogen
