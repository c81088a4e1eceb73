#include "views/timetable/run_geometry.h"

#include <algorithm>
#include <cmath>

namespace scenariogen {

namespace {

// Splits the run at its gaps and maps every point.
std::vector<Polyline> polylines(const std::vector<RunPoint>& run, const std::function<GraphPoint(const RunPoint&)>& at,
                                double resolution_mm) {
    std::vector<Polyline> lines;
    for (std::size_t i = 0; i < run.size(); ++i) {
        const GraphPoint p = at(run[i]);
        const bool last_of_line = i + 1 == run.size() || run[i + 1].after_gap;
        if (lines.empty() || run[i].after_gap) {
            lines.push_back({p});
            continue;
        }
        const GraphPoint& kept = lines.back().back();
        if (!last_of_line && std::hypot(p.x - kept.x, p.y - kept.y) < resolution_mm) continue;
        lines.back().push_back(p);
    }
    return lines;
}

double tick_for(double span_s) {
    for (const double step : {60.0, 120.0, 300.0, 600.0, 900.0, 1800.0, 3600.0, 7200.0, 10800.0, 21600.0}) {
        if (span_s / step <= 12) return step;
    }
    return 43200;
}

}  // namespace

std::vector<Polyline> speed_polylines(const TimetableCheck& check, const std::function<double(double)>& x_of_position,
                                      const std::function<double(double)>& y_of_speed, double resolution_mm) {
    return polylines(
        check.run,
        [&](const RunPoint& p) {
            return GraphPoint{x_of_position(p.position_m), y_of_speed(p.speed_kmh)};
        },
        resolution_mm);
}

double TimeDistanceScale::x(double clock_s) const {
    return frame.x0 + (clock_s - first_s) / (last_s - first_s) * (frame.x1 - frame.x0);
}

double TimeDistanceScale::y(double position_m) const {
    return frame.y0 + (position_m - first_m) / (last_m - first_m) * (frame.y1 - frame.y0);
}

std::vector<double> TimeDistanceScale::ticks() const {
    std::vector<double> at;
    for (double t = first_s; t <= last_s + tick_s / 2; t += tick_s) at.push_back(t);
    return at;
}

TimeDistanceScale time_distance_scale(const TimetableCheck& check, const GraphFrame& frame) {
    TimeDistanceScale scale;
    scale.frame = frame;
    if (check.stations.empty()) return scale;
    double early = check.schedule.front().departure_s, late = check.schedule.back().arrival_s;
    for (const ScheduledCall& c : check.schedule) {
        early = std::min(early, c.arrival_s);
        late = std::max(late, c.departure_s);
    }
    const double followed = late + 86400;
    for (const RunPoint& p : check.run) late = std::max(late, std::min(p.clock_s, followed));
    scale.tick_s = tick_for(late - early);
    scale.first_s = std::floor(early / scale.tick_s) * scale.tick_s;
    scale.last_s = std::max(std::ceil(late / scale.tick_s) * scale.tick_s, scale.first_s + scale.tick_s);
    scale.first_m = check.stations.front().position_m;
    scale.last_m = check.stations.front().position_m;
    for (const TimetableStation& s : check.stations) {
        scale.first_m = std::min<double>(scale.first_m, s.position_m);
        scale.last_m = std::max<double>(scale.last_m, s.position_m);
    }
    if (scale.last_m <= scale.first_m) scale.last_m = scale.first_m + 1;
    return scale;
}

std::vector<Polyline> run_polylines(const TimetableCheck& check, const TimeDistanceScale& scale, double resolution_mm) {
    std::vector<RunPoint> shown;
    for (std::size_t i = 0; i < check.run.size(); ++i) {
        const RunPoint& p = check.run[i];
        if (p.clock_s <= scale.last_s) {
            shown.push_back(p);
        } else if (i > 0 && !p.after_gap && check.run[i - 1].clock_s < scale.last_s) {
            // Where the line leaves the scale.
            const RunPoint& a = check.run[i - 1];
            const double share = (scale.last_s - a.clock_s) / (p.clock_s - a.clock_s);
            shown.push_back({a.position_m + (p.position_m - a.position_m) * share, 0, 0, scale.last_s, false});
        }
    }
    return polylines(
        shown,
        [&](const RunPoint& p) {
            return GraphPoint{scale.x(p.clock_s), scale.y(p.position_m)};
        },
        resolution_mm);
}

std::vector<ScheduledMark> scheduled_marks(const TimetableCheck& check, const TimeDistanceScale& scale) {
    std::vector<ScheduledMark> marks;
    for (std::size_t k = 0; k < check.stations.size() && k < check.schedule.size(); ++k) {
        const TimetableStation& s = check.stations[k];
        const ScheduledCall& c = check.schedule[k];
        const double y = scale.y(s.position_m);
        if (k > 0) marks.push_back({{scale.x(c.arrival_s), y}, s.name + " arr " + graph_clock_text(c.arrival_s)});
        if (k + 1 < check.stations.size()) {
            marks.push_back({{scale.x(c.departure_s), y}, s.name + " dep " + graph_clock_text(c.departure_s)});
        }
    }
    return marks;
}

std::string graph_clock_text(double seconds) {
    if (!(std::abs(seconds) < 1e15)) return "";
    const auto whole = static_cast<long long>(std::nearbyint(seconds));
    const long long day = ((whole % 86400) + 86400) % 86400;
    const auto two = [](long long v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return std::to_string(day / 3600) + ":" + two(day / 60 % 60) + ":" + two(day % 60);
}

}  // namespace scenariogen
