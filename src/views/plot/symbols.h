// The symbols of the page, shared by the drawing and the legend. `base` is
// the point a profile symbol stands on; plan symbols are centred on `at`.
#pragma once

#include "format/records.h"
#include "views/plot/svg_writer.h"

namespace scenariogen::plotting {

// A signal's kind as the page tells it apart: its left side code sx (1 or
// 2 as the scenarios write them; 0 for any other).
int signal_kind(const Cell& signal);
// The head shows the kind: open for code 1, filled for code 2, a square for
// any other.
void signal_symbol(Svg& svg, PagePoint base, int kind);
void plan_signal_symbol(Svg& svg, PagePoint at, int kind);
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
