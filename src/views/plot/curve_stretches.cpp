#include "views/plot/curve_stretches.h"

#include <algorithm>
#include <cmath>

namespace scenariogen::plotting {

namespace {

constexpr double kStraight = 1.0 / 50000;  // curvature below this counts as straight, 1/m
constexpr double kSameRate = 0.02;

// The signed curvature at each inner sample: the turn between the chords
// before and after it over the metres between their middles (positive:
// turning right). A step of the plan turns the heading by the same angle
// at every metre, so the chords turn by that angle times half their
// lengths together.
std::vector<double> curvatures(const PlanSample& plan) {
    std::vector<double> k(plan.metres.size(), 0);
    for (std::size_t i = 1; i + 1 < plan.metres.size(); ++i) {
        const double ax = plan.x[i] - plan.x[i - 1], ay = plan.y[i] - plan.y[i - 1];
        const double bx = plan.x[i + 1] - plan.x[i], by = plan.y[i + 1] - plan.y[i];
        const double turn = std::atan2(ax * by - ay * bx, ax * bx + ay * by);  // counter-clockwise
        const double metres = (plan.metres[i + 1] - plan.metres[i - 1]) / 2.0;
        k[i] = -std::tan(turn / metres);
    }
    return k;
}

bool same_rate(double a, double b) {
    if (std::abs(a) < kStraight || std::abs(b) < kStraight) return std::abs(a) < kStraight && std::abs(b) < kStraight;
    return (a > 0) == (b > 0) && std::abs(a - b) <= kSameRate * std::max(std::abs(a), std::abs(b));
}

struct Run {
    std::size_t first, last;  // samples
    double k;                 // the mean curvature over them
};

// Consecutive samples of the same rate.
std::vector<Run> runs_of(const std::vector<double>& k) {
    std::vector<Run> runs;
    for (std::size_t i = 1; i + 1 < k.size(); ++i) {
        if (!runs.empty() && runs.back().last + 1 == i && same_rate(runs.back().k, k[i])) {
            Run& r = runs.back();
            r.k = (r.k * static_cast<double>(r.last - r.first + 1) + k[i]) / static_cast<double>(r.last - r.first + 2);
            r.last = i;
        } else {
            runs.push_back({i, i, k[i]});
        }
    }
    return runs;
}

}  // namespace

std::vector<CurveStretch> curve_stretches(const PlanSample& plan, double end_m) {
    std::vector<CurveStretch> curves;
    if (plan.metres.size() < 3) return curves;
    const double shortest = 2.0 * plan.stride;
    for (const Run& r : runs_of(curvatures(plan))) {
        if (std::abs(r.k) < kStraight) continue;
        // The turns at samples first to last bend the chords from the first
        // to the one after the last.
        const double from = plan.metres[r.first], to = plan.metres[r.last + 1];
        if (from >= end_m) break;
        if (to - from < shortest) continue;  // the blur at a curve's end
        curves.push_back({from, std::min(to, end_m), 1 / std::abs(r.k), r.k > 0});
    }
    return curves;
}

}  // namespace scenariogen::plotting
