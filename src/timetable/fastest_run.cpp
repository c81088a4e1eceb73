#include "timetable/fastest_run.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace scenariogen {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The integration points: the start, every multiple of the step strictly
// between, and the end; a stretch shorter than one step is cut in two.
std::vector<double> integration_points(double from, double to, int steps_per_cell) {
    const int n = std::clamp(steps_per_cell, 1, kMostStepsPerCell);
    std::vector<double> points{from};
    for (auto j = static_cast<std::int64_t>(std::floor(from * n / kCellMetres)) + 1;; ++j) {
        const double x = static_cast<double>(j) * kCellMetres / n;  // exact on every cell boundary
        if (x >= to) break;
        if (x > from) points.push_back(x);
    }
    if (points.size() == 1) points.push_back((from + to) / 2);
    points.push_back(to);
    return points;
}

// What holds over each step: its length, the speed in force, the
// acceleration and braking rates after the gradient.
struct Steps {
    std::vector<double> length;
    std::vector<double> limit_kmh;
    std::vector<double> acceleration;
    std::vector<double> braking;
    std::vector<int> gradient;
};

Steps steps_between(const RouteConditions& route, const TrainModel& model, const std::vector<double>& points) {
    Steps s;
    const std::size_t steps = points.size() - 1;
    s.length.reserve(steps);
    s.limit_kmh.reserve(steps);
    s.acceleration.reserve(steps);
    s.braking.reserve(steps);
    s.gradient.reserve(steps);
    for (std::size_t k = 0; k + 1 < points.size(); ++k) {
        const int gradient = gradient_at(route, (points[k] + points[k + 1]) / 2);
        const double pull = kGravity * gradient / 1000;  // what the gradient takes from the train, m/s²
        s.length.push_back(points[k + 1] - points[k]);
        s.limit_kmh.push_back(limit_over(route, points[k], points[k + 1]));
        s.acceleration.push_back(model.acceleration - pull);
        s.braking.push_back(model.braking + pull);
        s.gradient.push_back(gradient);
    }
    return s;
}

double squared_ms(double kmh) { return kmh / 3.6 * (kmh / 3.6); }

// The highest speed² at each point from which the train can still keep
// every limit ahead and stop at the end: the limits, and the braking curves
// back from every lower limit and from the stop.
std::vector<double> braking_envelope(const Steps& s) {
    const std::size_t steps = s.length.size();
    std::vector<double> w(steps + 1, 0);
    for (std::size_t k = steps; k-- > 0;) {
        double cap = squared_ms(s.limit_kmh[k]);
        if (k > 0) cap = std::min(cap, squared_ms(s.limit_kmh[k - 1]));
        w[k] = std::min(cap, std::max(0.0, w[k + 1] + 2 * s.braking[k] * s.length[k]));
    }
    return w;
}

// Why the train halts at point k + 1 after step k, and where.
Blockage blockage_after(const Steps& s, const std::vector<double>& points, std::size_t k, double start_speed2) {
    const double reached = start_speed2 + 2 * s.acceleration[k] * s.length[k];
    if (reached <= 0) {
        const double stall = s.acceleration[k] < 0 ? start_speed2 / (-2 * s.acceleration[k]) : 0;
        return {BlockageCause::kTooSteepUp, points[k] + stall, s.gradient[k]};
    }
    if (s.limit_kmh[k] <= 0) return {BlockageCause::kNoSpeed, points[k], 0};
    if (k + 1 < s.length.size() && s.limit_kmh[k + 1] <= 0) return {BlockageCause::kNoSpeed, points[k + 1], 0};
    std::size_t steep = k + 1;
    while (steep + 1 < s.length.size() && s.braking[steep] > 0) ++steep;
    return {BlockageCause::kTooSteepDown, points[steep], s.gradient[steep]};
}

}  // namespace

FastestRun fastest_run(const RouteConditions& route, const TrainModel& model, double from, double to) {
    FastestRun run;
    // No track before the route or beyond the last cell: a run that starts
    // there goes nowhere, and one that leaves the cells halts where they end.
    const double track_end = kCellMetres * static_cast<double>(route.cell_count() > 0 ? route.cell_count() - 1 : 0);
    if (from < 0 || from >= track_end) {
        run.position_m = {from, to};
        run.speed_ms = {0, 0};
        run.time_s = {0, kInfinity};
        run.limit_kmh = {0, 0};
        run.blockage = Blockage{BlockageCause::kNoSpeed, from, 0};
        return run;
    }
    run.position_m = integration_points(from, std::min(to, track_end + kCellMetres), model.steps_per_cell);
    const Steps s = steps_between(route, model, run.position_m);
    const std::vector<double> envelope = braking_envelope(s);
    const std::size_t points = run.position_m.size();
    run.speed_ms.assign(points, 0);
    run.time_s.assign(points, kInfinity);
    run.limit_kmh = s.limit_kmh;
    run.limit_kmh.push_back(s.limit_kmh.back());
    run.time_s[0] = 0;
    double speed2 = 0;
    for (std::size_t k = 0; k + 1 < points; ++k) {
        const double reached2 = speed2 + 2 * s.acceleration[k] * s.length[k];
        const double next2 = std::min(envelope[k + 1], std::max(0.0, reached2));
        // Only the end may be reached at standstill, and only without stalling.
        if ((k + 2 < points && next2 <= 0) || reached2 < 0) {
            run.blockage = blockage_after(s, run.position_m, k, speed2);
            break;
        }
        run.speed_ms[k + 1] = std::sqrt(next2);
        run.time_s[k + 1] = run.time_s[k] + 2 * s.length[k] / (run.speed_ms[k] + run.speed_ms[k + 1]);
        speed2 = next2;
    }
    return run;
}

std::size_t FastestRun::step_holding(double position) const {
    const auto after = std::upper_bound(position_m.begin(), position_m.end(), position);
    const auto k = static_cast<std::size_t>(std::max<std::ptrdiff_t>(after - position_m.begin() - 1, 0));
    return std::min(k, position_m.size() - 2);
}

RunState FastestRun::at(double position) const {
    const std::size_t k = step_holding(position);
    const double length = position_m[k + 1] - position_m[k];
    const double into = std::clamp(position - position_m[k], 0.0, length);
    const double v0 = speed_ms[k] * speed_ms[k];
    const double v1 = speed_ms[k + 1] * speed_ms[k + 1];
    RunState state;
    state.speed_ms = std::sqrt(std::max(0.0, v0 + (v1 - v0) * (into / length)));
    state.limit_kmh = limit_kmh[k];
    if (into == 0) {
        state.time_s = time_s[k];
    } else if (!std::isfinite(time_s[k + 1])) {
        state.time_s = kInfinity;
    } else {
        state.time_s = time_s[k] + 2 * into / (speed_ms[k] + state.speed_ms);
    }
    return state;
}

double FastestRun::top_speed(double from, double to) const {
    double top = std::max(at(from).speed_ms, at(to).speed_ms);
    for (std::size_t k = 0; k < position_m.size(); ++k) {
        if (position_m[k] > from && position_m[k] < to) top = std::max(top, speed_ms[k]);
    }
    return top;
}

}  // namespace scenariogen
