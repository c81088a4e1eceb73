// The time-distance graph, on a page of its own below the first: the
// stations down the side in the order of the route, the time of day across,
// the timetable's scheduled times as points joined by a dashed line, and
// the running-time model's fastest run as a solid line.
#pragma once

#include <cstddef>
#include <vector>

#include "timetable/timetable_check.h"
#include "views/plot/plot_content.h"
#include "views/plot/svg_writer.h"
#include "views/timetable/run_geometry.h"

namespace scenariogen::plotting {

struct DrawnGraph {
    std::vector<std::vector<PagePoint>> run;  // as drawn
    std::size_t scheduled_marks = 0;
};

// The graph's scales on the page whose top edge is `page_top` (millimetres),
// for a check with two stations or more.
TimeDistanceScale graph_scale(const TimetableCheck& check, double page_top);

// Draws the graph on the page whose top edge is `page_top` (millimetres).
DrawnGraph draw_time_distance_graph(Svg& svg, const PageContent& content, const TimetableCheck& check, double page_top);

}  // namespace scenariogen::plotting
