#include "views/plot/profile_panels.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "views/plot/driving_curve.h"
#include "views/plot/line_thinning.h"
#include "views/plot/text_formats.h"

namespace scenariogen::plotting {

namespace {

// The axis's ticks: a line into the panel, the value left of it.
void axis_tick(Svg& svg, double y, const std::string& value) {
    svg.line({kProfileX0 - 0.8, y}, {kProfileX0, y}, stroke(kInk, 0.2));
    svg.line({kProfileX0, y}, {kProfileX1, y}, stroke(kGridLine, 0.12));
    svg.text({kProfileX0 - 1.2, y + 0.7}, 2, value, "", "end");
}

// A line that nobody sees, wide enough to rest the pointer on: it carries
// the title of one stretch of a line drawn as a whole.
void hover_target(Svg& svg, const std::string& d, const std::string& title) {
    svg.open_group("", title);
    svg.path(d, "fill=\"none\" stroke=\"#000\" stroke-opacity=\"0\" stroke-width=\"1.2\"");
    svg.close_group();
}

}  // namespace

ProfilePanels::ProfilePanels(Svg& svg, const PageContent& content, const ProfileData& data, const ProfileScale& scale)
    : svg_(svg), content_(content), data_(data), scale_(scale) {}

void ProfilePanels::panel_frame(double top, double bottom, const char* title, const char* colour) {
    svg_.rect({kProfileX0, top, kProfileX1, bottom}, stroke(kInk, 0.25));
    svg_.vertical_text({kProfileX0 - 8.5, (top + bottom) / 2}, 2.1, title, std::string("fill=\"") + colour + "\"");
}

double ProfilePanels::height_y(double h) const {
    return kHeightBottom - kChartPad -
           (h - height_lo_) / std::max(height_hi_ - height_lo_, 1e-9) * (kHeightBottom - kHeightTop - 2 * kChartPad);
}

double ProfilePanels::speed_y(double v) const {
    return kSpeedBottom - kChartPad - v / speed_top_ * (kSpeedBottom - kSpeedTop - 2 * kChartPad);
}

void ProfilePanels::draw_height() {
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
    const double step = nice_step((hi - lo) / 3);
    height_lo_ = std::floor(lo / step) * step;
    height_hi_ = std::ceil(hi / step) * step;
    svg_.open_group("font-size=\"2\"");
    for (double h = height_lo_; h <= height_hi_ + step / 2; h += step) {
        axis_tick(svg_, height_y(h), std::abs(h) < 1e-9 ? "0" : fixed(h, step < 1 ? 1 : 0));
    }
    svg_.close_group();
    panel_frame(kHeightTop, kHeightBottom, "Height (m)", kInk);
    // How much steeper the panel draws the line than the page's distance scale.
    const double vertical = (kHeightBottom - kHeightTop - 2 * kChartPad) / (height_hi_ - height_lo_);
    const double horizontal = scale_.mm_per_km() / 1000;
    svg_.open_group("", "The heights are drawn this many times the scale of the distances");
    svg_.text({kProfileX0 + 1, kHeightTop + 2.4}, 1.8,
              "vertical exaggeration \u00d7" + two_digits(vertical / horizontal), "fill=\"#444\" " + kHalo);
    svg_.close_group();
    height_line();
}

// The height line bends where the gradient changes; where bends crowd
// closer than the page can show, it keeps what it covers (its envelope).
void ProfilePanels::height_line() {
    if (data_.last_data_cell == 0) return;
    const std::vector<Cell>& cells = content_.cells;
    const double end = data_.end_m;
    std::vector<PagePoint> bends{{scale_.X(0), height_y(0)}};
    for (std::size_t i = 1; i <= data_.last_data_cell; ++i) {
        const double at = std::min(static_cast<double>(i) * kCellLength, end);
        const bool bend = i == data_.last_data_cell || cells[i + 1].gradient != cells[i].gradient;
        if (bend) bends.push_back({scale_.X(at), height_y(data_.height_at(at))});
    }
    bends = framed_line(bends);
    if (bends.empty()) return;
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

void ProfilePanels::draw_speed(ScenarioPlot& result) {
    int top = 0;
    for (std::size_t i = 1; i <= data_.last_data_cell; ++i) top = std::max(top, content_.cells[i].speed_limit * 5);
    const double step = nice_step(std::max(top, 20) / 3.0);
    speed_top_ = std::ceil((top + 1) / step) * step;
    // The axis takes the colour of the line read against it: the run's when
    // the page draws it, else the limit's.
    const char* colour = content_.run ? kRunColour : kSpeedColour;
    svg_.open_group(std::string("font-size=\"2\" fill=\"") + colour + "\"");
    for (double v = 0; v <= speed_top_ + step / 2; v += step) axis_tick(svg_, speed_y(v), fixed(v, 0));
    svg_.close_group();
    panel_frame(kSpeedTop, kSpeedBottom, "Speed (km/h)", colour);
    speed_limit_line();
    speed_limit_hover();
    if (content_.run) {
        result.driving_curve = draw_driving_curve(
            svg_, *content_.run, [this](double m) { return scale_.X(std::min(m, static_cast<double>(data_.end_m))); },
            [this](double v) { return speed_y(v); });
        result.speed_top_kmh = speed_top_;
    }
}

// A step at every change of the limit. Changes that crowd into one column
// of the page become one vertical stroke over all they reach.
void ProfilePanels::speed_limit_line() {
    if (data_.last_data_cell == 0) return;
    struct Change {
        double x;
        int speed;
    };
    const std::vector<Cell>& cells = content_.cells;
    std::vector<Change> changes;
    for (std::size_t i = 1; i <= data_.last_data_cell; ++i) {
        const int v = cells[i].speed_limit * 5;
        const double x = scale_.X(position_to_cell_start(i));
        if (x > kProfileX1) break;
        // Of the changes left of the frame, the last holds at its left edge.
        if (x < kProfileX0 && !changes.empty() && changes.back().x <= kProfileX0) changes.pop_back();
        if (changes.empty() || v != changes.back().speed) changes.push_back({std::max(x, kProfileX0), v});
    }
    if (changes.empty()) return;
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
    d += "H" + num(scale_.framed_X(data_.end_m));
    svg_.open_group("", "Line speed limit");
    svg_.path(d, stroke(kSpeedColour, 0.4, "1.6 0.7"));
    svg_.close_group();
}

// Each stretch of one limit, wide enough to point at, says its limit, where
// it holds and where its change was written.
void ProfilePanels::speed_limit_hover() {
    const std::vector<Cell>& cells = content_.cells;
    for (std::size_t first = 1; first <= data_.last_data_cell;) {
        std::size_t last = first;
        while (last < data_.last_data_cell && cells[last + 1].speed_limit == cells[first].speed_limit) ++last;
        const double from = position_to_cell_start(first);
        const double to = std::min(static_cast<double>(last) * kCellLength, static_cast<double>(data_.end_m));
        if (scale_.shows(from, to) && scale_.framed_X(to) - scale_.framed_X(from) >= 1) {
            const double y = speed_y(cells[first].speed_limit * 5);
            hover_target(svg_, "M" + num(scale_.framed_X(from)) + " " + num(y) + "H" + num(scale_.framed_X(to)),
                         "Line speed limit " + std::to_string(cells[first].speed_limit * 5) + " km/h from " +
                             km_text(from) + " to " + km_text(to) + written_at_note(first));
        }
        first = last + 1;
    }
}

}  // namespace scenariogen::plotting
