#include "views/plot/track_thinning.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace scenariogen::plotting {

namespace {

// The sample between a and b farthest from the chord a-b, and its distance.
std::pair<std::size_t, double> farthest_from_chord(const Plan& plan, const std::vector<std::int32_t>& samples,
                                                   std::size_t a, std::size_t b) {
    const PlanPoint pa = plan.at(samples[a]), pb = plan.at(samples[b]);
    const double dx = pb.x - pa.x, dy = pb.y - pa.y;
    const double length2 = dx * dx + dy * dy;
    double farthest = -1;
    std::size_t at = a;
    for (std::size_t i = a + 1; i < b; ++i) {
        const PlanPoint p = plan.at(samples[i]);
        double t = length2 > 0 ? ((p.x - pa.x) * dx + (p.y - pa.y) * dy) / length2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        const double d = std::hypot(p.x - (pa.x + t * dx), p.y - (pa.y + t * dy));
        if (d > farthest) {
            farthest = d;
            at = i;
        }
    }
    return {at, farthest};
}

}  // namespace

std::vector<std::int32_t> thin_track(const Plan& plan, double scale) {
    std::vector<std::int32_t> samples;
    const auto step = static_cast<std::int32_t>(std::clamp(std::floor(0.15 / scale), 1.0, 1e6));
    for (std::int32_t m = 0; m < plan.last; m += step) samples.push_back(m);
    samples.push_back(plan.last);
    if (samples.size() <= 2) return samples;
    const double tolerance = 0.03 / scale;
    std::vector<char> keep(samples.size(), 0);
    keep.front() = keep.back() = 1;
    std::vector<std::pair<std::size_t, std::size_t>> pending{{0, samples.size() - 1}};
    while (!pending.empty()) {
        const auto [a, b] = pending.back();
        pending.pop_back();
        if (b <= a + 1) continue;
        const auto [at, farthest] = farthest_from_chord(plan, samples, a, b);
        if (farthest > tolerance) {
            keep[at] = 1;
            pending.push_back({a, at});
            pending.push_back({at, b});
        }
    }
    std::vector<std::int32_t> kept;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (keep[i]) kept.push_back(samples[i]);
    }
    return kept;
}

}  // namespace scenariogen::plotting
