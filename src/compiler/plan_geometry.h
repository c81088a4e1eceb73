// The plan of the track, metre by metre. Each step continues the heading of
// the last metre; a curve step turns it by the curvature k to first order
// (the step is not renormalised). A positive k turns a heading along +y
// towards +x.
#pragma once

#include <cstdint>

#include "format/records.h"

namespace scenariogen {

inline constexpr std::int32_t kMaxGridMetre = 1000000;

// A grid sized without coordinates (x and y empty) follows the metres alone.

// Metres 0 and 1: the track starts at the origin heading along +y.
void start_track(Grid& g);

// Straight steps while the next metre is at most `last`.
void straight_until(Grid& g, std::int64_t last);

// A curve of curvature k from `start` over `length` metres: straight steps
// up to metre `start`, then curve steps up to `start + length`. False when a
// step passes metre 1000000 (the caller's metres must lie within the grid).
bool curve(Grid& g, std::int64_t start, std::int64_t length, double k);

}  // namespace scenariogen
