#include "views/plot/label_placement.h"

#include <algorithm>

namespace scenariogen::plotting {

bool overlap(const Box& a, const Box& b) { return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1; }

bool inside(const Box& inner, const Box& outer) {
    return inner.x0 >= outer.x0 && inner.x1 <= outer.x1 && inner.y0 >= outer.y0 && inner.y1 <= outer.y1;
}

bool Taken::free(const Box& b) const {
    return std::none_of(boxes_.begin(), boxes_.end(), [&](const Box& t) { return overlap(t, b); });
}

// Liang-Barsky clipping: the part of the segment inside each of the box's
// four half-planes, narrowed until it is empty or not.
bool segment_hits(PagePoint a, PagePoint b, const Box& box) {
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - box.x0, box.x1 - a.x, a.y - box.y0, box.y1 - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
        } else {
            const double t = q[i] / p[i];
            if (p[i] < 0) {
                t0 = std::max(t0, t);
            } else {
                t1 = std::min(t1, t);
            }
            if (t0 > t1) return false;
        }
    }
    return true;
}

}  // namespace scenariogen::plotting
