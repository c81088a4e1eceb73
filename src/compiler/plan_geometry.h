// The plan of the track, metre by metre. Each step continues the heading of
// the last metre; a curve step turns it by the curvature k to first order
// (the step is not renormalised). A positive k turns a heading along +y
// towards +x.
#pragma once

#include <cstdint>

#include "format/records.h"

namespace scenariogen {

inline constexpr std::int32_t kMetroMassimo = 1000000;

// Metres 0 and 1: the track starts at the origin heading along +y.
void inizio_tracciato(Grid& g);

// Straight steps while the next metre is at most `fino_a`.
void rettilineo_fino_a(Grid& g, std::int64_t fino_a);

// A curve of curvature k from `inizio` over `lunghezza` metres: straight
// steps up to metre `inizio`, then curve steps up to `inizio + lunghezza`.
// False when a step passes metre 1000000 (the caller's metres must lie
// within the grid).
bool curva(Grid& g, std::int64_t inizio, std::int64_t lunghezza, double k);

}  // namespace scenariogen
