#include "views/plot/plan_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#include "views/plot/label_placement.h"
#include "views/plot/symbols.h"
#include "views/plot/text_formats.h"
#include "views/plot/text_measure.h"
#include "views/plot/track_thinning.h"

namespace scenariogen::plotting {

namespace {

// The scale as printed, "1 : 1 200 000", to two significant digits. A plan
// of absurd extent (a damaged grid file) gets a scale in powers of ten.
std::string ratio_text(double scale) {
    const double ratio = 1000.0 / scale;
    const double unit = std::pow(10.0, std::floor(std::log10(ratio)) - 1);
    const double rounded = std::round(ratio / unit) * unit;
    char scale_digits[64];
    std::snprintf(scale_digits, sizeof scale_digits, rounded < 1e15 ? "%.0f" : "%.1e", rounded);
    std::string text = scale_digits;
    if (rounded < 1e15)
        for (int i = static_cast<int>(text.size()) - 3; i > 0; i -= 3)
            text.insert(static_cast<std::size_t>(i), "\u2009");
    return "1 : " + text + " on A4";
}

class PlanDrawing {
public:
    PlanDrawing(Svg& svg, PageContent& content, Box frame)
        : svg_(svg), content_(content), plan_(content.plan), frame_(frame) {}

    void draw(ScenarioPlot& result) {
        labels_ = &result.plan_labels;
        svg_.rect(frame_, stroke("#999", 0.2));
        svg_.text({frame_.x0 + 2, frame_.y0 + 4.2}, 3, "Plan", "font-weight=\"bold\"");
        taken_.take({frame_.x0, frame_.y0, frame_.x0 + 12, frame_.y0 + 5.5});
        if (plan_.last < 1) {
            svg_.text({(frame_.x0 + frame_.x1) / 2, (frame_.y0 + frame_.y1) / 2}, 2.6,
                      "The grid holds no computed metre: there is no plan to draw.", "", "middle");
            return;
        }
        map(result.plan_mapping);
        track(result);
        north_arrow();
        scale_bar();
        const double mm_per_km = 1000 * map_.scale;
        const double tick_km = nice_step(std::max(1.0, 0.9 / mm_per_km));
        const double label_km = nice_step(std::max(tick_km, 7.0 / mm_per_km));
        route_kilometres(tick_km);
        progressive_kilometres(tick_km);
        signals();
        station_dots();
        // Labels, most important first.
        station_labels();
        route_end();
        route_kilometre_labels(label_km);
        progressive_labels(label_km);
    }

private:
    void map(PlanMapping& mapping) {
        const double x0 = plan_.x_min, x1 = plan_.x_max, y0 = plan_.y_min, y1 = plan_.y_max;
        const double pad_side = 9, pad_top = 8, pad_bottom = 9;
        const double width = std::max(x1 - x0, 1.0), height = std::max(y1 - y0, 1.0);
        const double scale = std::min((frame_.x1 - frame_.x0 - 2 * pad_side) / width,
                                      (frame_.y1 - frame_.y0 - pad_top - pad_bottom) / height);
        mapping.scale = scale;
        mapping.centre = {(x0 + x1) / 2, (y0 + y1) / 2};
        mapping.page_centre = {(frame_.x0 + frame_.x1) / 2, (frame_.y0 + pad_top + frame_.y1 - pad_bottom) / 2};
        map_ = mapping;
    }

    // The track to the route's end as a solid line, the run-out after it
    // thin and dashed.
    void track(ScenarioPlot& result) {
        std::vector<std::int32_t> pinned{content_.route_length_m};
        for (const Station& s : content_.stations) pinned.push_back(s.plotted.position_m);
        const std::vector<std::int32_t> metres = thin_track(plan_, map_, pinned);
        std::string route, run_out;
        for (const std::int32_t m : metres) {
            result.track_metres.push_back(m);
            result.track.push_back(plan_.at(m));
            page_track_.push_back(map_.page(plan_.at(m)));
            const std::string point = num(page_track_.back().x) + " " + num(page_track_.back().y);
            if (m <= content_.route_length_m) route += (route.empty() ? "M" : "L") + point;
            if (m >= content_.route_length_m) run_out += (run_out.empty() ? "M" : "L") + point;
        }
        svg_.open_group("", "Track centre line, metres 0 to " +
                                std::to_string(std::min(plan_.last, std::max(content_.route_length_m, 0))));
        svg_.path(route, stroke(kInk, 0.45) + " stroke-linejoin=\"round\" stroke-linecap=\"round\"");
        svg_.close_group();
        if (run_out.find('L') == std::string::npos) return;
        svg_.open_group("", "Run-out after the end of the route, metres " + std::to_string(content_.route_length_m) +
                                " to " + std::to_string(plan_.last));
        svg_.path(run_out, stroke(kRunOutColour, 0.3, "1 0.6") + " stroke-linejoin=\"round\"");
        svg_.close_group();
    }

    PagePoint page_at(std::int32_t m) const { return map_.page(plan_.at(m)); }
    // The page direction of travel and the page normal to its left.
    std::pair<PagePoint, PagePoint> page_axes(std::int32_t m) const {
        const PlanPoint h = plan_.heading(m);
        return {{h.x, -h.y}, {-h.y, -h.x}};
    }
    bool on_plan(double position) const { return position >= 0 && position <= plan_.last; }
    bool on_route(double position) const { return position >= 0 && position <= route_last(); }

    bool hits_track(const Box& b) const {
        for (std::size_t i = 1; i < page_track_.size(); ++i) {
            if (segment_hits(page_track_[i - 1], page_track_[i], b)) return true;
        }
        return false;
    }
    bool fits(const Box& b) const { return inside(b, frame_) && taken_.free(b) && !hits_track(b); }

    // Places a label beside the point p (page), trying the sides in order;
    // returns whether it was placed.
    bool label_near(PagePoint p, const std::string& text, double size, const std::string& style,
                    const std::vector<PagePoint>& directions, double gap) {
        // Bold letters run wider; the box holds the capitals and a little below them.
        const bool bold = style.find("bold") != std::string::npos;
        const double w = text_width(text, size) * (bold ? 1.12 : 1.0), h = size * 0.95;
        for (const PagePoint& d : directions) {
            // The box's corner nearest to p sits at `gap` along d.
            const double cx = p.x + d.x * (gap + w / 2), cy = p.y + d.y * (gap + h / 2);
            const Box b{cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2};
            if (!fits(b)) continue;
            taken_.take(b);
            labels_->push_back({text, {b.x0, b.y0, b.x1, b.y1}});
            svg_.text({b.x0, b.y1 - size * 0.2}, size, text, style + " " + kHalo);
            return true;
        }
        return false;
    }

    void north_arrow() {
        const double x = frame_.x1 - 6, top = frame_.y0 + 3;
        svg_.open_group("", "North: the plan's +y axis points up the page");
        svg_.text({x, top + 3}, 2.8, "N", "font-weight=\"bold\"", "middle");
        svg_.path("M" + num(x) + " " + num(top + 4) + "l1.4 3.6h-2.8z", fill(kInk));
        svg_.line({x, top + 7.4}, {x, top + 11}, stroke(kInk, 0.35));
        svg_.close_group();
        taken_.take({x - 2.5, top, x + 2.5, top + 11.5});
    }

    void scale_bar() {
        const double width_mm = frame_.x1 - frame_.x0;
        const double metres = nice_step(0.22 * width_mm / map_.scale);
        const double len = metres * map_.scale;
        const double x = frame_.x0 + 4, y = frame_.y1 - 5;
        const std::string ratio = ratio_text(map_.scale);
        svg_.open_group("", "Scale bar");
        svg_.rect({x, y, x + len / 2, y + 1}, fill_and_stroke(kInk, kInk, 0.2));
        svg_.rect({x + len / 2, y, x + len, y + 1}, fill_and_stroke("#fff", kInk, 0.2));
        svg_.text({x, y - 0.8}, 2, "0", "", "middle");
        const std::string length =
            metres >= 1000 ? fixed(metres / 1000, metres >= 10000 || std::fmod(metres, 1000) == 0 ? 0 : 1) + " km"
                           : fixed(metres, 0) + " m";
        svg_.text({x + len, y - 0.8}, 2, length, "", "middle");
        svg_.text({x + len + 3, y + 1}, 2, ratio, "fill=\"#444\"");
        svg_.close_group();
        taken_.take({x - 1, y - 3, x + len + 3 + text_width(ratio, 2), y + 1.5});
    }

    // The last metre of the route drawn on the plan: ticks stop there.
    double route_last() const {
        return content_.route_length_m > 0 ? std::min<double>(plan_.last, content_.route_length_m) : plan_.last;
    }

    void route_kilometres(double tick_km) {
        std::string d;
        const double step = tick_km * 1000;
        for (double p = step; p <= route_last(); p += step) {
            const auto m = static_cast<std::int32_t>(p);
            const PagePoint a = page_at(m);
            const PagePoint left = page_axes(m).second;
            d += "M" + num(a.x) + " " + num(a.y) + "l" + num(left.x * 1.3) + " " + num(left.y * 1.3);
        }
        if (d.empty()) return;
        svg_.open_group("", "Route kilometres, a tick every " + fixed(tick_km, 0) + " km");
        svg_.path(d, stroke(kInk, 0.2));
        svg_.close_group();
    }

    void route_kilometre_labels(double label_km) {
        const double step = label_km * 1000;
        svg_.open_group("font-size=\"2\" fill=\"#333\"");
        for (double p = step; p <= route_last(); p += step) {
            const auto m = static_cast<std::int32_t>(p);
            const PagePoint left = page_axes(m).second;
            label_near(page_at(m), fixed(p / 1000, 0), 2, "", {left}, 1.6);
        }
        svg_.close_group();
    }

    void progressive_kilometres(double tick_km) {
        std::string d;
        for (const Progressive& prog : content_.progressives) {
            for (const double p : prog.positions_of_multiples(tick_km * 1000)) {
                if (!on_route(p)) continue;
                const auto m = static_cast<std::int32_t>(std::lround(p));
                const PagePoint a = page_at(m);
                const PagePoint left = page_axes(m).second;
                d += "M" + num(a.x) + " " + num(a.y) + "l" + num(-left.x * 1.3) + " " + num(-left.y * 1.3);
            }
        }
        if (d.empty()) return;
        svg_.open_group("", "Line kilometres of the kilometric progressive");
        svg_.path(d, stroke(kProgressiveColour, 0.25));
        svg_.close_group();
    }

    void progressive_labels(double label_km) {
        const std::string style = std::string("font-style=\"italic\" fill=\"") + kProgressiveColour + "\"";
        for (const Progressive& prog : content_.progressives) {
            if (on_route(prog.from_m)) {
                const auto m = static_cast<std::int32_t>(prog.from_m);
                const PagePoint right = page_axes(m).second;
                const PagePoint away{-right.x, -right.y};
                label_near(page_at(m), "line km " + fixed(prog.value_m(prog.from_m) / 1000.0, 3), 2, style,
                           {away, right}, 1.8);
            }
            for (const double p : prog.positions_of_multiples(label_km * 1000)) {
                if (!on_route(p)) continue;
                const auto m = static_cast<std::int32_t>(std::lround(p));
                const PagePoint left = page_axes(m).second;
                label_near(page_at(m), "km " + kilometre_value_text(prog.value_m(p), label_km * 1000), 2, style,
                           {{-left.x, -left.y}}, 1.8);
            }
        }
    }

    // Signals closer than a millimetre to the last one drawn are left out:
    // on a long line they would hide the track.
    void signals() {
        svg_.open_group("");
        PagePoint last{-1e9, -1e9};
        for (const PlottedMark& s : content_.signals) {
            if (!on_plan(s.position_m)) continue;
            const PagePoint p = page_at(s.position_m);
            if (std::hypot(p.x - last.x, p.y - last.y) < 1.0) continue;
            last = p;
            const int kind = signal_kind(content_.cells[s.cell]);
            svg_.open_group("", "Signal of code " + std::to_string(kind) + " at " + km_text(s.position_m) + " (cell " +
                                    std::to_string(s.cell) + ")");
            plan_signal_symbol(svg_, p, kind);
            svg_.close_group();
        }
        svg_.close_group();
    }

    void station_dots() {
        for (const Station& s : content_.stations) {
            if (!on_plan(s.plotted.position_m)) continue;
            const PagePoint p = page_at(s.plotted.position_m);
            svg_.open_group("", s.details);
            station_dot(svg_, p, 0.95);
            svg_.close_group();
            taken_.take({p.x - 1, p.y - 1, p.x + 1, p.y + 1});
        }
    }

    void station_labels() {
        for (Station& s : content_.stations) {
            if (!on_plan(s.plotted.position_m)) continue;
            const auto m = s.plotted.position_m;
            const PagePoint p = page_at(m);
            const PagePoint left = page_axes(m).second;
            const PagePoint right{-left.x, -left.y};
            // Beside the track first (either side), then along it.
            const std::vector<PagePoint> directions{{1, 0}, {-1, 0},     right,       left,       {0, -1},
                                                    {0, 1}, {0.7, -0.7}, {-0.7, 0.7}, {0.7, 0.7}, {-0.7, -0.7}};
            s.plotted.named_in_plan = label_near(p, s.plotted.name, 2.3, "font-weight=\"bold\"", directions, 1.4) ||
                                      label_near(p, s.plotted.name, 2.3, "font-weight=\"bold\"", directions, 3.5);
        }
    }

    void route_end() {
        const std::int32_t m = content_.route_length_m;
        if (!on_plan(m) || m <= 0) return;
        const PagePoint p = page_at(m);
        const PagePoint left = page_axes(m).second;
        svg_.open_group("", "End of the route at " + km_text(m));
        svg_.line({p.x - left.x * 1.8, p.y - left.y * 1.8}, {p.x + left.x * 1.8, p.y + left.y * 1.8},
                  stroke(kInk, 0.5));
        svg_.close_group();
        label_near(p, "end of route", 2, "fill=\"#333\"", {left, {-left.x, -left.y}, {1, 0}, {-1, 0}}, 2.2);
    }

    Svg& svg_;
    PageContent& content_;
    const Plan& plan_;
    Box frame_;
    PlanMapping map_;
    std::vector<PagePoint> page_track_;
    Taken taken_;
    std::vector<PlacedLabel>* labels_ = nullptr;
};

}  // namespace

double plan_frame_width(const Plan& plan) {
    if (plan.last < 1) return 120;
    const double aspect = std::max(plan.x_max - plan.x_min, 1.0) / std::max(plan.y_max - plan.y_min, 1.0);
    return std::clamp(aspect * (kTopHeight - 17) + 18 + 40, 115.0, 175.0);
}

void draw_plan(Svg& svg, PageContent& content, const Box& frame, ScenarioPlot& result) {
    PlanDrawing(svg, content, frame).draw(result);
}

}  // namespace scenariogen::plotting
