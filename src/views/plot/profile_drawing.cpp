#include "views/plot/profile_drawing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "views/plot/label_placement.h"
#include "views/plot/profile_bands.h"
#include "views/plot/profile_lanes.h"
#include "views/plot/profile_panels.h"
#include "views/plot/profile_scale.h"
#include "views/plot/symbols.h"
#include "views/plot/text_formats.h"
#include "views/plot/text_measure.h"

namespace scenariogen::plotting {

namespace {

class ProfileDrawing {
public:
    ProfileDrawing(Svg& svg, PageContent& content, const std::optional<ProfileWindow>& window)
        : svg_(svg),
          content_(content),
          scale_(window ? ProfileScale(profile_end(content), window->from_m, window->to_m)
                        : ProfileScale(profile_end(content))),
          data_(profile_data(content.cells, scale_.end_m())),
          panels_(svg, content, data_, scale_) {}

    std::int32_t draw(ScenarioPlot& result) {
        svg_.text({kMargin, kStationBandTop + 3}, 3, "Profile", "font-weight=\"bold\"");
        svg_.text({kMargin, kStationBandTop + 6.5}, 2, "along the route", "fill=\"#444\"");
        distance_scale();
        background();
        station_areas();
        panels_.draw_height();
        panels_.draw_speed(result);
        route_end();
        station_lines();
        draw_gradient_band(svg_, content_, data_, scale_);
        result.curves = draw_curve_band(svg_, content_, scale_);
        draw_lanes(svg_, scale_, content_, result);
        distance_axis();
        line_kilometres();
        station_labels();
        return scale_.end_m();
    }

private:
    double X(double position) const { return scale_.X(position); }
    bool on_profile(double position) const { return scale_.on_profile(position); }

    void distance_scale() {
        const double mm_per_km = scale_.mm_per_km();
        major_km_ = nice_step(13.0 / mm_per_km);
        minor_km_ = major_km_;
        for (const double f : {0.5, 0.2, 0.1}) {
            if (major_km_ * f * mm_per_km >= 1.5) {
                minor_km_ = major_km_ * f;
                if (f == 0.5) continue;
                break;
            }
        }
        minor_km_ = std::max(minor_km_, nice_step(1.5 / mm_per_km));
    }

    void background() {
        std::string d;
        for (double k = first_multiple(scale_.from_m() / 1000, major_km_); k * 1000 <= scale_.to_m(); k += major_km_) {
            d += "M" + num(X(k * 1000)) + " " + num(kChartTop) + "V" + num(kAxisY);
        }
        svg_.path(d, stroke(kGridLine, 0.15));
        for (int lane = 0; lane < kLanes; ++lane) {
            const double base = lane_base(lane);
            svg_.line({kProfileX0, base}, {kProfileX1, base}, stroke("#bdbdbd", 0.15));
            svg_.text({kProfileX0 - 1.5, base - 0.9}, 2, kLaneNames[lane], "", "end");
        }
    }

    void station_areas() {
        svg_.open_group("fill=\"#000\" fill-opacity=\"0.08\"");
        for (const Station& s : content_.stations) {
            const double a = X(std::clamp<double>(s.start, scale_.from_m(), scale_.to_m()));
            const double b = X(std::clamp<double>(s.end, scale_.from_m(), scale_.to_m()));
            if (b <= a) continue;
            svg_.rect({a, kHeightTop, b, kHeightBottom}, "");
            svg_.rect({a, kSpeedTop, b, kSpeedBottom}, "");
        }
        svg_.close_group();
    }

    // The end of the route, a dash-dot line across both panels; the cells
    // after it (the run-out) are not drawn, unless an object stands there.
    void route_end() {
        const std::int32_t length = content_.route_length_m;
        const std::int32_t run_out = content_.end_m - length;
        std::string title = "End of the route at " + km_text(length);
        if (length == scale_.end_m() && run_out > 0) {
            title += "; the " + km_text(run_out) + " of run-out after it are left out of the profile";
        }
        if (!on_profile(length) || length <= 0) return;
        const double x = X(length);
        svg_.open_group("", title);
        svg_.line({x, kHeightTop}, {x, kSpeedBottom}, stroke(kInk, 0.3, "2 0.6 0.4 0.6"));
        svg_.text({x - 0.8, kHeightTop + 2.4}, 1.8, "end of route", "fill=\"#333\" " + kHalo, "end");
        svg_.close_group();
    }

    void station_lines() {
        for (const Station& s : content_.stations) {
            if (!on_profile(s.plotted.position_m)) continue;
            const double x = X(s.plotted.position_m);
            svg_.open_group("", s.details);
            svg_.line({x, kChartTop}, {x, kAxisY}, stroke("#7a7a7a", 0.2, "0.6 0.6"));
            station_dot(svg_, {x, panels_.height_y(data_.height_at(s.plotted.position_m))}, 0.75);
            svg_.close_group();
        }
    }

    void distance_axis() {
        svg_.line({kProfileX0, kAxisY}, {kProfileX1, kAxisY}, stroke(kInk, 0.25));
        std::string minor, major;
        for (double k = first_multiple(scale_.from_m() / 1000, minor_km_); k * 1000 <= scale_.to_m() + 1e-6;
             k += minor_km_) {
            const double x = X(k * 1000);
            const double ratio = k / major_km_;
            const bool is_major = std::abs(ratio - std::round(ratio)) < 1e-6;
            (is_major ? major : minor) += "M" + num(x) + " " + num(kAxisY) + "v" + (is_major ? "1.2" : "0.6");
        }
        svg_.path(minor, stroke(kInk, 0.15));
        svg_.path(major, stroke(kInk, 0.25));
        svg_.open_group("font-size=\"2.1\" text-anchor=\"middle\"");
        double last_right = -1e9;
        for (double k = first_multiple(scale_.from_m() / 1000, major_km_); k * 1000 <= scale_.to_m() + 1e-6;
             k += major_km_) {
            const std::string text = kilometre_value_text(k * 1000, major_km_ * 1000);
            const double x = X(k * 1000), half = text_width(text, 2.1) / 2;
            if (x - half < last_right + 0.8) continue;
            last_right = x + half;
            svg_.text({x, kAxisY + 3.7}, 2.1, text);
        }
        svg_.close_group();
        svg_.text({kProfileX0 - 1.5, kAxisY + 3.7}, 2, "Route km", "", "end");
        svg_.text({(kProfileX0 + kProfileX1) / 2, kAxisY + 12.6}, 2.3, "Distance along the route (km)", "", "middle");
    }

    void line_kilometres() {
        const double y = kAxisY + 8;
        svg_.text({kProfileX0 - 1.5, y}, 2, "Line km", std::string("fill=\"") + kProgressiveColour + "\"", "end");
        if (content_.progressives.empty()) {
            svg_.text({kProfileX0, y}, 1.9, "(no kilometric progressive)", "fill=\"#666\" font-style=\"italic\"");
            return;
        }
        Taken taken;
        const std::string style = std::string("fill=\"") + kProgressiveColour + "\" font-style=\"italic\"";
        const auto label = [&](double position, const std::string& text) {
            const double w = text_width(text, 1.9);
            const double x = X(position);
            const Box b{x - w / 2 - 0.6, y - 1.8, x + w / 2 + 0.6, y + 0.4};
            if (b.x0 < kProfileX0 - 2 || b.x1 > kProfileX1 + 4 || !taken.free(b)) return;
            taken.take(b);
            svg_.text({x, y}, 1.9, text, style, "middle");
        };
        std::string ticks;
        for (const Progressive& p : content_.progressives) {
            if (!on_profile(p.from_m)) continue;
            ticks += "M" + num(X(p.from_m)) + " " + num(y - 4) + "v2.2";
            label(p.from_m, fixed(p.value_m(p.from_m) / 1000.0, 3) + (p.falling ? " \u2193" : " \u2191"));
        }
        for (const Progressive& p : content_.progressives) {
            for (const double position : p.positions_of_multiples(major_km_ * 1000)) {
                if (!on_profile(position)) continue;
                ticks += "M" + num(X(position)) + " " + num(y - 3.6) + "v1.4";
                label(position, kilometre_value_text(p.value_m(position), major_km_ * 1000));
            }
        }
        svg_.open_group("", "Line kilometres of the kilometric progressive; the first value where it starts");
        svg_.path(ticks, stroke(kProgressiveColour, 0.25));
        svg_.close_group();
    }

    // Names and times written slanted upwards above the panels, as on a
    // railway profile: labels need only a few millimetres of width, and one
    // that would touch the previous label is left out (two labels at 45°
    // this far apart stand 5 mm apart across their lines).
    void station_labels() {
        const double name_size = 2.2, time_size = 1.9;
        const double slant = std::sqrt(0.5);
        const double base_y = kStationBandBottom - 2.3;
        const double min_gap = 7.2;
        double last_x = -std::numeric_limits<double>::max();
        for (Station& s : content_.stations) {
            if (!on_profile(s.plotted.position_m)) continue;
            const double x = X(s.plotted.position_m);
            if (x - last_x < min_gap) continue;
            // Room along the slant: up to the band's top and the page's right edge.
            const double room = std::min((base_y - kStationBandTop) / slant, (kPageWidth - 2 - x) / slant);
            const std::string name = fit_text(s.plotted.name, name_size * 1.08, room);
            const std::string times = fit_text(s.plotted.times, time_size, room - 1);
            if (name.empty()) continue;
            last_x = x;
            svg_.open_group("", s.details);
            svg_.line({x, base_y + 0.6}, {x, kChartTop}, stroke("#7a7a7a", 0.2));
            svg_.out += "<g transform=\"translate(" + num(x + 0.3) + " " + num(base_y) + ") rotate(-45)\">";
            svg_.text({0, 0}, name_size, name, "font-weight=\"bold\"");
            svg_.text({0.9, 2.3}, time_size, times, "fill=\"#333\"");
            svg_.out += "</g>\n";
            svg_.close_group();
            s.plotted.named_in_profile = true;
        }
    }

    Svg& svg_;
    PageContent& content_;
    ProfileScale scale_;
    ProfileData data_;
    ProfilePanels panels_;
    double major_km_ = 1;
    double minor_km_ = 1;
};

}  // namespace

std::int32_t draw_profile(Svg& svg, PageContent& content, ScenarioPlot& result,
                          const std::optional<ProfileWindow>& window) {
    return ProfileDrawing(svg, content, window).draw(result);
}

}  // namespace scenariogen::plotting
