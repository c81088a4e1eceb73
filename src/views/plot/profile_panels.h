// The two panels of the profile, each with its own axis: the height from
// the gradients, its vertical exaggeration stated, and the speeds (the line
// speed limit, and the model's fastest run when the page draws it).
#pragma once

#include "views/plot/plot_content.h"
#include "views/plot/profile_scale.h"
#include "views/plot/svg_writer.h"

namespace scenariogen::plotting {

class ProfilePanels {
public:
    ProfilePanels(Svg& svg, const PageContent& content, const ProfileData& data, const ProfileScale& scale);

    // The height panel: axis, exaggeration, height line.
    void draw_height();
    // The speed panel: axis, line speed limit, and the run into `result`.
    void draw_speed(ScenarioPlot& result);

    double height_y(double height_m) const;
    double speed_y(double kmh) const;

private:
    void height_line();
    void speed_limit_line();
    void speed_limit_hover();
    void panel_frame(double top, double bottom, const char* title, const char* colour);

    Svg& svg_;
    const PageContent& content_;
    const ProfileData& data_;
    const ProfileScale& scale_;
    double height_lo_ = 0;
    double height_hi_ = 1;
    double speed_top_ = 1;
};

}  // namespace scenariogen::plotting
