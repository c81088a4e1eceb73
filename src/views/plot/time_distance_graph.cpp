#include "views/plot/time_distance_graph.h"

#include <cmath>
#include <string>

#include "views/plot/driving_curve.h"
#include "views/plot/text_formats.h"
#include "views/plot/text_measure.h"
#include "views/timetable/run_geometry.h"
#include "views/timetable/timetable_report.h"

namespace scenariogen::plotting {

namespace {

// The frame of the graph on its page, and the room for the station names
// on its left.
constexpr double kGraphLeft = 52;
constexpr double kGraphRight = kPageWidth - kMargin - 14;  // the route km on the right
constexpr double kGraphTop = 20;
constexpr double kGraphBottom = 184;
constexpr double kNameRoom = kGraphLeft - kMargin - 2;
constexpr double kKeyY = 199;

// "6:35" for a tick: the ticks fall on whole minutes.
std::string tick_text(double clock_s) {
    const std::string text = graph_clock_text(clock_s);
    return text.substr(0, text.size() - 3);
}

void title(Svg& svg, const PageContent& content, const TimetableCheck& check, double top) {
    svg.text({kMargin, top + 9}, 4.4, "Time\u2013distance graph  \u2013  train " + content.train_number,
             "font-weight=\"bold\"");
    svg.text({kPageWidth - kMargin, top + 9}, 2.4, "Fastest run of the model: " + model_summary(check.model),
             "fill=\"#333\"", "end");
}

// A short tick at every minute between the labelled ones, where a minute
// takes half a millimetre or more.
void minute_ticks(Svg& svg, const TimeDistanceScale& scale) {
    if (scale.tick_s <= 60 || scale.x(scale.first_s + 60) - scale.x(scale.first_s) < 0.5) return;
    std::string d;
    for (double t = scale.first_s + 60; t < scale.last_s; t += 60) {
        if (std::fmod(t - scale.first_s, scale.tick_s) == 0) continue;
        const double x = scale.x(t);
        d += "M" + num(x) + " " + num(scale.frame.y1) + "v0.8M" + num(x) + " " + num(scale.frame.y0) + "v-0.8";
    }
    svg.open_group("", "A tick every minute");
    svg.path(d, stroke(kInk, 0.15));
    svg.close_group();
}

// The route kilometres down the right side, at a round step.
void kilometre_scale(Svg& svg, const TimeDistanceScale& scale) {
    const double span_km = (scale.last_m - scale.first_m) / 1000;
    const double step_km = nice_step(span_km / 12);
    std::string d;
    svg.open_group("font-size=\"2\"");
    for (double k = std::ceil(scale.first_m / 1000 / step_km) * step_km; k * 1000 <= scale.last_m + 1e-6;
         k += step_km) {
        const double y = scale.y(k * 1000);
        d += "M" + num(scale.frame.x1) + " " + num(y) + "h1";
        svg.text({scale.frame.x1 + 1.6, y + 0.7}, 2, kilometre_value_text(k * 1000, step_km * 1000));
    }
    svg.close_group();
    svg.path(d, stroke(kInk, 0.25));
    svg.vertical_text({scale.frame.x1 + 10, (scale.frame.y0 + scale.frame.y1) / 2}, 2.3, "Route km");
}

void time_grid(Svg& svg, const TimeDistanceScale& scale) {
    std::string lines;
    svg.open_group("font-size=\"2\" text-anchor=\"middle\"");
    for (const double t : scale.ticks()) {
        const double x = scale.x(t);
        lines += "M" + num(x) + " " + num(scale.frame.y0) + "V" + num(scale.frame.y1 + 1);
        svg.text({x, scale.frame.y1 + 3.8}, 2, tick_text(t));
    }
    svg.close_group();
    svg.path(lines, stroke(kGridLine, 0.15));
    minute_ticks(svg, scale);
    kilometre_scale(svg, scale);
    svg.rect({scale.frame.x0, scale.frame.y0, scale.frame.x1, scale.frame.y1}, stroke(kInk, 0.25));
    svg.text({(scale.frame.x0 + scale.frame.x1) / 2, scale.frame.y1 + 8.5}, 2.3, "Time of day", "", "middle");
}

// A line across the graph for each station, named on the left where the
// name does not touch the one above.
void station_rows(Svg& svg, const TimetableCheck& check, const TimeDistanceScale& scale) {
    std::string lines;
    double last_named = -1e9;
    for (const TimetableStation& s : check.stations) {
        const double y = scale.y(s.position_m);
        lines += "M" + num(scale.frame.x0) + " " + num(y) + "H" + num(scale.frame.x1);
        if (y - last_named < 2.8) continue;
        last_named = y;
        svg.open_group("", s.name + " at " + km_text(s.position_m));
        svg.text({scale.frame.x0 - 1.5, y + 0.7}, 2.1, fit_text(s.name, 2.1, kNameRoom), "", "end");
        svg.close_group();
    }
    svg.path(lines, stroke("#9a9a9a", 0.15));
}

// The scheduled times: a dashed line from departure to arrival to
// departure, and a point at each; the arrivals the model cannot keep filled.
std::size_t schedule(Svg& svg, const TimetableCheck& check, const TimeDistanceScale& scale) {
    const std::vector<ScheduledMark> marks = scheduled_marks(check, scale);
    std::string d;
    for (const ScheduledMark& m : marks) d += (d.empty() ? "M" : "L") + num(m.at.x) + " " + num(m.at.y);
    svg.path(d, stroke(kInk, 0.25, "1 0.6"));
    // Marks alternate departure, arrival, departure ...: mark i > 0 at an odd
    // index is the arrival of leg (i − 1) / 2.
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const bool arrival = i % 2 == 1;
        const LegCheck* leg = arrival && i / 2 < check.legs.size() ? &check.legs[i / 2] : nullptr;
        const bool missed = leg != nullptr && (leg->too_tight() || leg->status == LegStatus::kBlocked);
        svg.open_group("", marks[i].title + (missed ? ": the model cannot keep it" : ""));
        svg.circle({marks[i].at.x, marks[i].at.y}, 0.65,
                   missed ? fill_and_stroke(kSpeedColour, kInk, 0.2) : fill_and_stroke("#fff", kInk, 0.25));
        svg.close_group();
    }
    return marks.size();
}

// The train's number on its line, as a graph of many trains would have it:
// beside the longest stretch of the line drawn.
void train_number(Svg& svg, const std::vector<std::vector<PagePoint>>& lines, const std::string& number) {
    PagePoint a, b;
    double longest = 0;
    for (const std::vector<PagePoint>& line : lines) {
        for (std::size_t i = 1; i < line.size(); ++i) {
            const double length = std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
            if (length > longest) longest = length, a = line[i - 1], b = line[i];
        }
    }
    if (longest < 8 || number.empty()) return;
    const double angle = std::atan2(b.y - a.y, b.x - a.x) * 180 / 3.141592653589793;
    const PagePoint at{(a.x + b.x) / 2, (a.y + b.y) / 2};
    svg.open_group("", "Train " + number);
    svg.out += "<g transform=\"translate(" + num(at.x) + " " + num(at.y) + ") rotate(" + num(angle) + ")\">";
    svg.text({0, -0.9}, 2.4, number, std::string("font-weight=\"bold\" fill=\"") + kRunColour + "\" " + kHalo,
             "middle");
    svg.out += "</g>\n";
    svg.close_group();
}

std::vector<std::vector<PagePoint>> run_line(Svg& svg, const TimetableCheck& check, const TimeDistanceScale& scale) {
    std::vector<std::vector<PagePoint>> drawn;
    std::string d;
    for (const Polyline& part : run_polylines(check, scale, 0)) {
        const std::vector<PagePoint> line = page_line(part);
        if (line.size() < 2) continue;
        drawn.emplace_back();
        d += path_of(line, drawn.back());
    }
    svg.open_group("id=\"graph-run\"", "The train's fastest run, leaving no station before its scheduled time");
    svg.path(d, stroke(kRunColour, 0.4) + " stroke-linejoin=\"round\"");
    svg.close_group();
    return drawn;
}

void key(Svg& svg, double top) {
    const double y = top + kKeyY;
    double x = kGraphLeft;
    const auto entry = [&](const std::string& text, double width) {
        svg.text({x + 8, y + 0.7}, 2.1, text);
        x += 8 + width;
    };
    svg.line({x, y}, {x + 6, y}, stroke(kRunColour, 0.4));
    entry("the model's fastest run; it leaves no station before its time", 78);
    svg.line({x, y}, {x + 6, y}, stroke(kInk, 0.25, "1 0.6"));
    entry("the timetable", 22);
    svg.circle({x + 3, y}, 0.65, fill_and_stroke("#fff", kInk, 0.25));
    entry("a scheduled time", 26);
    svg.circle({x + 3, y}, 0.65, fill_and_stroke(kSpeedColour, kInk, 0.2));
    entry("an arrival the model cannot keep", 0);
}

}  // namespace

TimeDistanceScale graph_scale(const TimetableCheck& check, double page_top) {
    return time_distance_scale(check, {kGraphLeft, page_top + kGraphTop, kGraphRight, page_top + kGraphBottom});
}

DrawnGraph draw_time_distance_graph(Svg& svg, const PageContent& content, const TimetableCheck& check,
                                    double page_top) {
    DrawnGraph drawn;
    svg.open_group("id=\"time-distance-graph\"");
    svg.line({0, page_top}, {kPageWidth, page_top}, stroke("#bbb", 0.2, "2 1"));
    title(svg, content, check, page_top);
    if (check.stations.size() < 2) {
        svg.text({kPageWidth / 2, page_top + kPageHeight / 2}, 3,
                 "The station table holds fewer than two stations: there is no timetable to draw.", "", "middle");
        svg.close_group();
        return drawn;
    }
    const TimeDistanceScale scale = graph_scale(check, page_top);
    time_grid(svg, scale);
    station_rows(svg, check, scale);
    drawn.scheduled_marks = schedule(svg, check, scale);
    drawn.run = run_line(svg, check, scale);
    train_number(svg, drawn.run, content.train_number);
    key(svg, page_top);
    svg.close_group();
    return drawn;
}

}  // namespace scenariogen::plotting
