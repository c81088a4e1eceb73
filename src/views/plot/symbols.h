// The symbols of the page, shared by the drawing and the legend. `base` is
// the point a profile symbol stands on; plan symbols are centred on `at`.
#pragma once

#include "views/plot/svg_writer.h"

namespace scenariogen::plotting {

void signal_symbol(Svg& svg, PagePoint base);
void plan_signal_symbol(Svg& svg, PagePoint at);
void station_dot(Svg& svg, PagePoint at, double r);
void board_symbol(Svg& svg, PagePoint base);
void sign_symbol(Svg& svg, PagePoint base);
void warning_symbol(Svg& svg, PagePoint base);
void before_warning_symbol(Svg& svg, PagePoint base);
void code_drop_symbol(Svg& svg, PagePoint base, bool with_value);
void mountain_marker_symbol(Svg& svg, PagePoint base);

// The fill and outline of a mountain stretch's bar.
std::string mountain_stretch_style();

}  // namespace scenariogen::plotting
