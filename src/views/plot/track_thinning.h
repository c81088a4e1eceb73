// The plan's centre line thinned to what the page can show.
#pragma once

#include <cstdint>
#include <vector>

#include "views/plot/plot_content.h"

namespace scenariogen::plotting {

// The metres of the centre line to draw, in order from the first to the
// last computed metre. Of the plan's sampled metres, those no closer on the
// page than the line's tolerance are taken, so that no turn of the track
// falls between two of them; of those, the line keeps what thin_line
// keeps, and every metre of `pinned` (the stations), so that the line
// passes through them.
std::vector<std::int32_t> thin_track(const Plan& plan, const PlanMapping& mapping,
                                     const std::vector<std::int32_t>& pinned);

}  // namespace scenariogen::plotting
