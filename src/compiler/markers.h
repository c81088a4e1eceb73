// The marker procedures: each turns one described object into cells of the
// route (or, for the progressives, into the table's header entries). A
// procedure that finds its cell occupied changes nothing there and returns
// its error number; 0 means the object was placed.
#pragma once

#include <cstdint>

#include "compiler/compilation_state.h"
#include "compiler/placement.h"

namespace scenariogen {

// A mountain stretch from `start` to `end` metres of kind `kind` (above 10:
// kind - 10 with a marker on every fourth cell). Rewrites `kind` to the kind
// it stored. Raises no fault.
void mark_mountain_stretch(CompilationState& s, std::int32_t start, std::int32_t end, std::int32_t& kind);

// The speeds and stripes of a speed-indicator board, left-hand (…s) and
// right-hand (…d) as the description's columns name them.
struct SpeedBoard {
    std::int32_t vas = 0, vbs = 0, vcs = 0, strisces = 0;
    std::int32_t vad = 0, vbd = 0, vcd = 0, strisced = 0;
};
// Error 21 when the board's cell is occupied.
[[nodiscard]] std::int32_t place_speed_board(CompilationState& s, std::int32_t position, const SpeedBoard& board);

// A signal line's values, as the description's columns name them: the
// left (sx, s1..s3) and right (dx, d1..d3) codes, rapp and tempo.
struct SignalValues {
    std::int32_t sx = 0, s1 = 0, s2 = 0, s3 = 0, rapp = 0, dx = 0, d1 = 0, d2 = 0, d3 = 0, tempo = 0;
};
// A signal and its four advance cells 2, 4, 6 and 8 cells before it;
// error 16 when its cell is occupied. Rewrites `values.tempo` as stored.
[[nodiscard]] std::int32_t place_signal(CompilationState& s, std::int32_t position, SignalValues& values);

// A slowdown line's values: speed v, length l, and f_tt, f_ta, d_v.
struct SlowdownValues {
    std::int32_t v = 0, l = 0, f_tt = 0, f_ta = 0, d_v = 0;
};
// A temporary slowdown; errors 17 to 20 when its cells are occupied.
[[nodiscard]] std::int32_t place_slowdown(CompilationState& s, std::int32_t position, const SlowdownValues& values);

// Puts the three kilometric progressive records of entries 81 to 83 in
// order and adds 100 m to the reference of the falling ones.
void order_progressives(CompilationState& s);

}  // namespace scenariogen
