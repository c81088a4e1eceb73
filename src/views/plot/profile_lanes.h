// The lanes under the profile: the objects of the cells, one lane for each
// kind, with their values as tooltips and the main value as a label where
// there is room.
#pragma once

#include <vector>

#include "views/plot/plot_content.h"
#include "views/plot/profile_scale.h"
#include "views/plot/svg_writer.h"

namespace scenariogen::plotting {

// Draws every object of the cells on the profile in its lane; appends each
// to `result.marks`, and each label placed to `result.profile_labels`.
void draw_lanes(Svg& svg, const ProfileScale& scale, const PageContent& content, ScenarioPlot& result);

}  // namespace scenariogen::plotting
