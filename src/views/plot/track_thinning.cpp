#include "views/plot/track_thinning.h"

#include <algorithm>
#include <cmath>

#include "views/plot/line_thinning.h"

namespace scenariogen::plotting {

namespace {

// The plan's sampled metres, no closer together than the page can tell
// apart at the line's tolerance, and its last metre.
std::vector<std::int32_t> sample_metres(const Plan& plan, double scale) {
    const double by_page = std::clamp(std::floor(kLineTolerance / scale), 1.0, 1e6);
    std::vector<std::int32_t> samples;
    double next = 0;
    for (const std::int32_t m : plan.metres) {
        if (m < next) continue;
        samples.push_back(m);
        next = m + by_page;
    }
    if (samples.empty() || samples.back() != plan.last) samples.push_back(plan.last);
    return samples;
}

}  // namespace

std::vector<std::int32_t> thin_track(const Plan& plan, const PlanMapping& mapping,
                                     const std::vector<std::int32_t>& pinned) {
    std::vector<std::int32_t> metres = sample_metres(plan, mapping.scale);
    std::vector<std::int32_t> inside;
    for (const std::int32_t m : pinned) {
        if (m > 0 && m < plan.last) inside.push_back(m);
    }
    std::sort(inside.begin(), inside.end());
    std::vector<std::int32_t> merged;
    merged.reserve(metres.size() + inside.size());
    std::merge(metres.begin(), metres.end(), inside.begin(), inside.end(), std::back_inserter(merged));
    merged.erase(std::unique(merged.begin(), merged.end()), merged.end());

    std::vector<PagePoint> points;
    std::vector<char> is_pinned;
    points.reserve(merged.size());
    is_pinned.reserve(merged.size());
    for (const std::int32_t m : merged) {
        points.push_back(mapping.page(plan.at(m)));
        is_pinned.push_back(std::binary_search(inside.begin(), inside.end(), m) ? 1 : 0);
    }
    std::vector<std::int32_t> kept;
    for (const std::size_t i : thin_line(points, is_pinned)) kept.push_back(merged[i]);
    return kept;
}

}  // namespace scenariogen::plotting
