// The centre line thinned to what the page can show.
#pragma once

#include <cstdint>
#include <vector>

#include "views/plot/plot_content.h"

namespace scenariogen::plotting {

// Metres of the centre line kept for drawing at `scale` millimetres per
// metre: samples no further apart than 0.15 mm on the page, then every
// sample that a straight line through its neighbours would miss by more
// than a few hundredths of a millimetre. The first and the last metre are
// always kept.
std::vector<std::int32_t> thin_track(const Plan& plan, double scale);

}  // namespace scenariogen::plotting
