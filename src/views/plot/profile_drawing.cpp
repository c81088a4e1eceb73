#include "views/plot/profile_drawing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "views/plot/driving_curve.h"
#include "views/plot/label_placement.h"
#include "views/plot/line_thinning.h"
#include "views/plot/profile_lanes.h"
#include "views/plot/profile_scale.h"
#include "views/plot/symbols.h"
#include "views/plot/text_formats.h"
#include "views/plot/text_measure.h"

namespace scenariogen::plotting {

namespace {

class ProfileDrawing {
public:
    ProfileDrawing(Svg& svg, PageContent& content)
        : svg_(svg),
          content_(content),
          cells_(content.cells),
          data_(profile_data(content.cells)),
          scale_(data_.end_m) {}

    std::int32_t draw(ScenarioPlot& result) {
        svg_.text({kMargin, kStationBandTop + 3}, 3, "Profile", "font-weight=\"bold\"");
        svg_.text({kMargin, kStationBandTop + 6.5}, 2, "along the route", "fill=\"#444\"");
        distance_scale();
        background();
        station_areas();
        height_axis();
        speed_axis();
        height_line();
        speed_line();
        if (content_.run) {
            result.driving_curve = draw_driving_curve(
                svg_, *content_.run, [this](double m) { return X(m); }, [this](double v) { return speed_y(v); });
            result.speed_top_kmh = speed_top_;
        }
        route_end();
        station_lines();
        gradient_band();
        draw_lanes(svg_, scale_, content_, result.marks);
        distance_axis();
        line_kilometres();
        station_labels();
        return data_.end_m;
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
        for (double k = 0; k * 1000 <= data_.end_m; k += major_km_) {
            d += "M" + num(X(k * 1000)) + " " + num(kChartTop) + "V" + num(kAxisY);
        }
        svg_.path(d, stroke(kGridLine, 0.15));
        svg_.rect({kProfileX0, kChartTop, kProfileX1, kChartBottom}, stroke(kInk, 0.25));
        svg_.rect({kProfileX0, kGradientTop, kProfileX1, kGradientBottom}, stroke(kInk, 0.2));
        svg_.text({kProfileX0 - 1.5, (kGradientTop + kGradientBottom) / 2 + 0.7}, 2, "Gradient (\u2030)", "", "end");
        for (int lane = 0; lane < kLanes; ++lane) {
            const double base = lane_base(lane);
            svg_.line({kProfileX0, base}, {kProfileX1, base}, stroke("#bdbdbd", 0.15));
            svg_.text({kProfileX0 - 1.5, base - 0.9}, 2, kLaneNames[lane], "", "end");
        }
    }

    void station_areas() {
        svg_.open_group("fill=\"#000\" fill-opacity=\"0.08\"");
        for (const Station& s : content_.stations) {
            const double a = X(std::clamp<double>(s.start, 0, data_.end_m));
            const double b = X(std::clamp<double>(s.end, 0, data_.end_m));
            if (b <= a) continue;
            svg_.rect({a, kChartTop, b, kChartBottom}, "");
        }
        svg_.close_group();
    }

    void height_axis() {
        double lo = 0, hi = 0;
        for (const double h : data_.height) {
            lo = std::min(lo, h);
            hi = std::max(hi, h);
        }
        if (hi - lo < 10) {
            const double mid = (hi + lo) / 2;
            lo = mid - 5;
            hi = mid + 5;
        }
        const double step = nice_step((hi - lo) / 4);
        height_lo_ = std::floor(lo / step) * step;
        height_hi_ = std::ceil(hi / step) * step;
        svg_.open_group("font-size=\"2\"");
        for (double h = height_lo_; h <= height_hi_ + step / 2; h += step) {
            const double y = height_y(h);
            svg_.line({kProfileX0 - 0.8, y}, {kProfileX0, y}, stroke(kInk, 0.2));
            svg_.line({kProfileX0, y}, {kProfileX1, y}, stroke(kGridLine, 0.12));
            svg_.text({kProfileX0 - 1.2, y + 0.7}, 2, std::abs(h) < 1e-9 ? "0" : fixed(h, step < 1 ? 1 : 0), "", "end");
        }
        svg_.close_group();
        svg_.vertical_text({kProfileX0 - 8.5, (kChartTop + kChartBottom) / 2}, 2.2, "Height (m)");
    }
    double height_y(double h) const {
        return kChartBottom - kChartPad -
               (h - height_lo_) / std::max(height_hi_ - height_lo_, 1e-9) * (kChartBottom - kChartTop - 2 * kChartPad);
    }

    void speed_axis() {
        int top = 0;
        for (std::size_t i = 1; i <= data_.last_data_cell; ++i) top = std::max(top, cells_[i].speed_limit * 5);
        const double step = nice_step(std::max(top, 20) / 4.0);
        speed_top_ = std::ceil((top + 1) / step) * step;
        svg_.open_group(std::string("font-size=\"2\" fill=\"") + kSpeedColour + "\"");
        for (double v = 0; v <= speed_top_ + step / 2; v += step) {
            const double y = speed_y(v);
            svg_.line({kProfileX1, y}, {kProfileX1 + 0.8, y}, stroke(kSpeedColour, 0.2));
            svg_.text({kProfileX1 + 1.2, y + 0.7}, 2, fixed(v, 0));
        }
        svg_.close_group();
        svg_.vertical_text({kProfileX1 + 9, (kChartTop + kChartBottom) / 2}, 2.2,
                           content_.run ? "Speed (km/h)" : "Speed limit (km/h)",
                           std::string("fill=\"") + kSpeedColour + "\"");
    }
    double speed_y(double v) const {
        return kChartBottom - kChartPad - v / speed_top_ * (kChartBottom - kChartTop - 2 * kChartPad);
    }

    // The height line bends where the gradient changes; where bends crowd
    // closer than the page can show, it keeps what it covers (its envelope).
    void height_line() {
        if (data_.last_data_cell == 0) return;
        std::vector<PagePoint> bends{{X(0), height_y(0)}};
        for (std::size_t i = 1; i <= data_.last_data_cell; ++i) {
            const bool bend = i == data_.last_data_cell || cells_[i + 1].gradient != cells_[i].gradient;
            if (bend) bends.push_back({X(static_cast<double>(i) * kCellLength), height_y(data_.height[i])});
        }
        std::vector<PagePoint> covering;
        for (const std::size_t i : column_envelope(bends, kColumnWidth)) covering.push_back(bends[i]);
        std::string d;
        for (const std::size_t i : thin_line(covering)) {
            d += (d.empty() ? "M" : "L") + num(covering[i].x) + " " + num(covering[i].y);
        }
        svg_.open_group("", "Height from the gradients, 0 m at the start of the route");
        svg_.path(d, stroke(kInk, 0.45) + " stroke-linejoin=\"round\"");
        svg_.close_group();
    }

    // A step at every change of the limit. Changes that crowd into one
    // column of the page become one vertical stroke over all they reach.
    void speed_line() {
        if (data_.last_data_cell == 0) return;
        struct Change {
            double x;
            int speed;
        };
        std::vector<Change> changes;
        for (std::size_t i = 1; i <= data_.last_data_cell; ++i) {
            const int v = cells_[i].speed_limit * 5;
            if (changes.empty() || v != changes.back().speed) changes.push_back({X(position_to_cell_start(i)), v});
        }
        std::string d = "M" + num(changes[0].x) + " " + num(speed_y(changes[0].speed));
        for (std::size_t first = 1; first < changes.size();) {
            const double column = std::floor(changes[first].x / kColumnWidth);
            std::size_t last = first;
            int lo = changes[first - 1].speed, hi = lo;
            for (; last < changes.size() && std::floor(changes[last].x / kColumnWidth) == column; ++last) {
                lo = std::min(lo, changes[last].speed);
                hi = std::max(hi, changes[last].speed);
            }
            d += "H" + num(changes[first].x);
            if (last - first > 1) d += "V" + num(speed_y(lo)) + "V" + num(speed_y(hi));
            d += "V" + num(speed_y(changes[last - 1].speed));
            first = last;
        }
        d += "H" + num(X(static_cast<double>(data_.last_data_cell) * kCellLength));
        svg_.open_group("", "Line speed limit");
        svg_.path(d, stroke(kSpeedColour, 0.4, "1.6 0.7"));
        svg_.close_group();
    }

    void route_end() {
        const std::int32_t route_length_m = content_.route_length_m;
        if (!on_profile(route_length_m) || route_length_m <= 0) return;
        const double x = X(route_length_m);
        svg_.open_group("", "End of the route at " + km_text(route_length_m));
        svg_.line({x, kChartTop}, {x, kChartBottom}, stroke(kInk, 0.3, "2 0.6 0.4 0.6"));
        svg_.text({x - 0.8, kChartTop + 2.6}, 1.9, "end of route", "fill=\"#333\" " + kHalo, "end");
        svg_.close_group();
    }

    void station_lines() {
        for (const Station& s : content_.stations) {
            if (!on_profile(s.plotted.position_m)) continue;
            const double x = X(s.plotted.position_m);
            svg_.open_group("", s.details);
            svg_.line({x, kChartTop}, {x, kAxisY}, stroke("#7a7a7a", 0.2, "0.6 0.6"));
            station_dot(svg_, {x, height_y(data_.height_at(s.plotted.position_m))}, 0.75);
            svg_.close_group();
        }
    }

    // One stretch of equal gradient, cells first to last: a slope across the
    // band, and its value where there is room.
    void gradient_stretch(std::size_t first, std::size_t last, std::string& slopes, std::string& labels) const {
        const double mid = (kGradientTop + kGradientBottom) / 2;
        const double a = X(position_to_cell_start(first)), b = X(static_cast<double>(last) * kCellLength);
        const int g = cells_[first].gradient - 100;
        if (b - a > 1.2) {
            const double rise = g > 0 ? 1.8 : g < 0 ? -1.8 : 0;
            slopes += "M" + num(a + 0.3) + " " + num(mid + rise) + "L" + num(b - 0.3) + " " + num(mid - rise);
        }
        const std::string value = signed_text(g);
        const std::string with_unit = value + "\u2009\u2030";
        const std::string* shown = nullptr;
        if (text_width(with_unit, 1.9) + 0.6 < b - a) {
            shown = &with_unit;
        } else if (text_width(value, 1.9) + 0.4 < b - a) {
            shown = &value;
        }
        if (shown == nullptr) return;
        const std::string title = "Gradient " + value + " \u2030 from " + km_text(position_to_cell_start(first)) +
                                  " to " + km_text(static_cast<double>(last) * kCellLength);
        labels += "<text x=\"" + num((a + b) / 2) + "\" y=\"" + num(mid + 0.7) + "\" text-anchor=\"middle\" " + kHalo +
                  "><title>" + xml(title) + "</title>" + xml(*shown) + "</text>\n";
    }

    void gradient_band() {
        if (data_.last_data_cell == 0) return;
        std::size_t first = 1;
        double last_separator = -kColumnWidth;
        std::string separators, slopes, labels;
        svg_.open_group("font-size=\"1.9\"");
        for (std::size_t i = 1; i <= data_.last_data_cell; ++i) {
            if (i < data_.last_data_cell && cells_[i + 1].gradient == cells_[first].gradient) continue;
            // Separators closer than a column of the page would only darken the band.
            const double a = X(position_to_cell_start(first));
            if (first > 1 && a - last_separator >= kColumnWidth) {
                separators += "M" + num(a) + " " + num(kGradientTop) + "V" + num(kGradientBottom);
                last_separator = a;
            }
            gradient_stretch(first, i, slopes, labels);
            first = i + 1;
        }
        svg_.path(slopes, stroke("#9a9a9a", 0.15));
        svg_.path(separators, stroke(kInk, 0.2));
        svg_.out += labels;
        svg_.close_group();
    }

    void distance_axis() {
        svg_.line({kProfileX0, kAxisY}, {kProfileX1, kAxisY}, stroke(kInk, 0.25));
        std::string minor, major;
        for (double k = 0; k * 1000 <= data_.end_m + 1e-6; k += minor_km_) {
            const double x = X(k * 1000);
            const double ratio = k / major_km_;
            const bool is_major = std::abs(ratio - std::round(ratio)) < 1e-6;
            (is_major ? major : minor) += "M" + num(x) + " " + num(kAxisY) + "v" + (is_major ? "1.2" : "0.6");
        }
        svg_.path(minor, stroke(kInk, 0.15));
        svg_.path(major, stroke(kInk, 0.25));
        svg_.open_group("font-size=\"2.1\" text-anchor=\"middle\"");
        for (double k = 0; k * 1000 <= data_.end_m + 1e-6; k += major_km_) {
            svg_.text({X(k * 1000), kAxisY + 3.7}, 2.1, kilometre_value_text(k * 1000, major_km_ * 1000));
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

    // Names and times written slanted upwards from the top of the chart, as
    // on a railway profile: labels need only a few millimetres of width, and
    // one that would touch the previous label is left out.
    void station_labels() {
        const double name_size = 2.2, time_size = 1.9;
        const double slant = std::sqrt(0.5);
        const double base_y = kStationBandBottom - 2.3;
        const double min_gap = 6.2;
        double last_x = -std::numeric_limits<double>::max();
        for (Station& s : content_.stations) {
            if (!on_profile(s.plotted.position_m)) continue;
            const double x = X(s.plotted.position_m);
            if (x - last_x < min_gap) continue;
            // Room along the slant: up to the band's top and the page's right edge.
            const double room = std::min((base_y - kStationBandTop) / slant, (kPageWidth - 2 - x) / slant);
            const std::string name = fit_text(s.plotted.name, name_size, room);
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
    const std::vector<Cell>& cells_;
    ProfileData data_;
    ProfileScale scale_;
    double major_km_ = 1;
    double minor_km_ = 1;
    double height_lo_ = 0;
    double height_hi_ = 1;
    double speed_top_ = 1;
};

}  // namespace

std::int32_t draw_profile(Svg& svg, PageContent& content, ScenarioPlot& result) {
    return ProfileDrawing(svg, content).draw(result);
}

}  // namespace scenariogen::plotting
