// The bands under the profile's panels: the gradients, each stretch with
// its value, and the curves, each to its side with its radius.
#pragma once

#include "views/plot/plot_content.h"
#include "views/plot/profile_scale.h"
#include "views/plot/svg_writer.h"

namespace scenariogen::plotting {

void draw_gradient_band(Svg& svg, const PageContent& content, const ProfileData& data, const ProfileScale& scale);

// Returns how many curves the band holds.
std::size_t draw_curve_band(Svg& svg, const PageContent& content, const ProfileScale& scale);

}  // namespace scenariogen::plotting
