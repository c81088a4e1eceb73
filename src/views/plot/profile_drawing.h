// The profile: along the route, the height from the gradients, the line
// speed limit, the gradients, the stations with their names and times, the
// lanes of objects, and the route and line kilometres.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "views/plot/plot_content.h"
#include "views/plot/svg_writer.h"

namespace scenariogen::plotting {

// Draws the profile across the page's lower part, with the model's fastest
// run when the content holds one; appends the objects drawn in the lanes to
// `result.marks`, keeps the driving curve as drawn in `result`, marks the
// stations it could name, and returns where the profile ends (metres).
// With a window, the profile's stretch from `window->from_m` to `to_m`
// spans the page's width, its scale, axes, lanes and labels laid out for it.
std::int32_t draw_profile(Svg& svg, PageContent& content, ScenarioPlot& result,
                          const std::optional<ProfileWindow>& window = std::nullopt);

}  // namespace scenariogen::plotting
