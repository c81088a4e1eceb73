// The legend: every symbol of the page with its meaning, then a summary of
// what the scenario holds.
#pragma once

#include <string>
#include <vector>

#include "views/plot/plot_content.h"
#include "views/plot/svg_writer.h"

namespace scenariogen::plotting {

// The summary's lines: counts of what is drawn, how cells map to
// positions, the progressives, and the first and last station.
std::vector<std::string> legend_summary(const PageContent& content, const std::vector<PlottedMark>& marks);

// The legend in `box`; with the symbol of the model's fastest run when the
// page draws it.
void draw_legend(Svg& svg, const Box& box, const std::vector<std::string>& summary, bool with_run);

}  // namespace scenariogen::plotting
