// The running-time model's fastest run over the profile: the driving curve,
// a solid line under the dashed line limit.
#pragma once

#include <functional>
#include <vector>

#include "timetable/timetable_check.h"
#include "views/plot/svg_writer.h"
#include "views/timetable/run_geometry.h"

namespace scenariogen::plotting {

// Draws the curve through (x_of_position(metres), y_of_speed(km/h)), one
// line for each part of the run without a gap, thinned to what the page
// shows; returns the lines as drawn.
std::vector<std::vector<PagePoint>> draw_driving_curve(Svg& svg, const TimetableCheck& check,
                                                       const std::function<double(double)>& x_of_position,
                                                       const std::function<double(double)>& y_of_speed);

// Thins a line of the page to what it can show and writes it as path data.
std::string path_of(const std::vector<PagePoint>& line, std::vector<PagePoint>& drawn);

// A line of the page: the points of one part of the run, without repeats.
std::vector<PagePoint> page_line(const std::vector<GraphPoint>& points);

}  // namespace scenariogen::plotting
