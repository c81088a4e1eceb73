// Where the compiler puts an object: the rules that turn positions along the
// route, in metres, into cells. The compiler places by them, and the strict
// check foresees its placements by the same functions. Reals round to the
// nearest integer, ties to even.
#pragma once

#include <cstdint>

namespace scenariogen {

inline constexpr std::int64_t kRoomAfterObject = 100;   // metres that must follow an object within the cells
inline constexpr std::int64_t kRoomAfterStation = 800;  // ... and a station
inline constexpr std::int32_t kLeastStationGap = 350;   // metres between one station's area and the next
inline constexpr std::int32_t kSignalAdvanceCells = 8;  // a signal's farthest advance cell lies 8 cells back

// The last cell U of a route of `length` metres: nearest((length + 7000) / 50).
std::int32_t last_cell_of_route(std::int32_t length);

// Whether an object at p metres leaves too little room after it: the cells
// end before (p + room) / 50, or p is negative.
bool beyond_cells(std::int64_t p, std::int64_t room, std::int32_t last_cell);

// The cell of an object at p metres: nearest(p / 50 + 1); cell c covers the
// metres 50 (c - 1) to 50 c.
std::int32_t object_cell(std::int32_t position);

// The first cell that a change at p metres reaches (gradient, speed,
// adhesion, code-drop point): nearest(p / 50). The cells before it keep the
// value in force.
std::int32_t boundary_cell(std::int32_t position);

// The cells that a mountain stretch marks; first > last marks none.
struct MountainStretchCells {
    std::int32_t first;
    std::int32_t last;
};
MountainStretchCells mountain_stretch_cells(std::int32_t start, std::int32_t end);

// The cells of a slowdown: the warning (only past 1500 m), start, end, and
// the first of the four cells before the warning (before_warning, and the
// three below it).
struct SlowdownCells {
    bool has_warning;
    std::int32_t warning, start, end, before_warning;
};
SlowdownCells slowdown_cells(std::int32_t position, std::int32_t length);

// A station's area from its position, type and length: types 5 and 6 end
// 150 m after the position, 7 and 8 reach the length either side, the others
// half the length either side and 50 m more at the end when `extended`
// (attribute 14 is not 0). Unbounded: the compiler narrows it.
struct StationArea {
    std::int64_t start;
    std::int64_t end;
};
StationArea station_area(std::int32_t position, std::uint8_t type, std::int32_t length, bool extended);
// Types 5 to 8: their area does not depend on attribute 14, which the compiler clears.
bool is_short_station_type(std::uint8_t type);

// The end-marker cell of a station whose area ends at `end`, before
// rounding: end / 50 - 1. At 1 or less the station has no room for it.
double station_end_cell(std::int64_t end);

}  // namespace scenariogen
