// The plan: the track's centre line seen from above, north up, with its
// stations, signals, kilometre ticks and scale.
#pragma once

#include "views/plot/plot_content.h"
#include "views/plot/svg_writer.h"

namespace scenariogen::plotting {

// The width of the plan's frame: what the plan's shape needs, between
// bounds that leave the legend its room.
double plan_frame_width(const Plan& plan);

// Draws the plan in `frame`. Fills the track and the mapping of `result`,
// and marks the stations whose names it could place.
void draw_plan(Svg& svg, PageContent& content, const Box& frame, ScenarioPlot& result);

}  // namespace scenariogen::plotting
