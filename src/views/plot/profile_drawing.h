// The profile: along the route, the height from the gradients, the line
// speed limit, the gradients, the stations with their names and times, the
// lanes of objects, and the route and line kilometres.
#pragma once

#include <cstdint>
#include <vector>

#include "views/plot/plot_content.h"
#include "views/plot/svg_writer.h"

namespace scenariogen::plotting {

// Draws the profile across the page's lower part, with the model's fastest
// run when the content holds one; appends the objects drawn in the lanes to
// `result.marks`, keeps the driving curve as drawn in `result`, marks the
// stations it could name, and returns where the profile ends (metres).
std::int32_t draw_profile(Svg& svg, PageContent& content, ScenarioPlot& result);

}  // namespace scenariogen::plotting
