#include "compiler/plan_geometry.h"

#include <algorithm>
#include <cstdint>

namespace scenariogen {

namespace {

// The metres that steps() would reach, without their coordinates: every
// metre from the next up to `last`, stopping past the first at or after
// `limit`.
bool count_steps(Grid& g, std::int64_t last, std::int64_t limit) {
    const std::int64_t m = g.computed_metres;
    if (m > last) return true;
    const std::int64_t stop = std::max(m, limit);
    g.computed_metres = static_cast<std::int32_t>(stop <= last ? stop + 1 : last + 1);
    return stop > last;
}

// Steps with curvature k (0 for straight steps) while the next metre is at
// most `last`; false when a step passes `limit`.
bool steps(Grid& g, std::int64_t last, double k, std::int64_t limit) {
    if (g.x.empty()) return count_steps(g, last, limit);
    double* x = g.x.data();
    double* y = g.y.data();
    std::int64_t m = g.computed_metres;
    bool within = true;
    for (; m <= last; ++m) {
        const double dx = x[m - 1] - x[m - 2];
        const double dy = y[m - 1] - y[m - 2];
        if (k == 0.0) {
            x[m] = x[m - 1] + dx;
            y[m] = y[m - 1] + dy;
        } else {
            x[m] = x[m - 1] + (dx + k * dy);
            y[m] = y[m - 1] + (dy - k * dx);
        }
        if (m + 1 > limit) {
            within = false;
            ++m;
            break;
        }
    }
    g.computed_metres = static_cast<std::int32_t>(m);
    return within;
}

}  // namespace

void start_track(Grid& g) {
    g.computed_metres = 2;
    if (g.x.empty()) return;
    g.x[0] = 0;
    g.y[0] = 0;
    g.x[1] = 0;
    g.y[1] = 1;
}

void straight_until(Grid& g, std::int64_t last) { steps(g, last, 0.0, INT64_MAX); }

bool curve(Grid& g, std::int64_t start, std::int64_t length, double k) {
    return steps(g, start, 0.0, kMaxGridMetre) && steps(g, start + length, k, kMaxGridMetre);
}

}  // namespace scenariogen
