#include "views/plot/line_thinning.h"

#include <algorithm>
#include <cmath>

namespace scenariogen::plotting {

namespace {

double cross(PagePoint a, PagePoint b) { return a.x * b.y - a.y * b.x; }

// The directions from an anchor point along which a straight line passes
// within the tolerance of every point offered since the anchor: a cone
// from `right_` counter-clockwise to `left_`, narrower than a half turn.
class Sleeve {
public:
    Sleeve(PagePoint anchor, double tolerance) : anchor_(anchor), tolerance_(tolerance) {}

    // Whether a line from the anchor through p keeps every point offered
    // so far within reach; if it does, p narrows the sleeve.
    bool admits(PagePoint p) {
        const PagePoint d{p.x - anchor_.x, p.y - anchor_.y};
        const double r = std::hypot(d.x, d.y);
        // A line that turns back on itself would leave the points beyond its end.
        if (r < farthest_ - tolerance_) return false;
        if (has_cone_ && (cross(right_, d) < 0 || cross(d, left_) < 0)) return false;
        if (!(r > tolerance_)) return true;  // within reach of the anchor: it narrows nothing
        farthest_ = std::max(farthest_, r);
        // The directions that pass within reach of p: p's own, turned either
        // way by the angle whose sine is tolerance / r.
        const double s = tolerance_ / r, c = std::sqrt(1 - s * s);
        const PagePoint u{d.x / r, d.y / r};
        const PagePoint left{u.x * c - u.y * s, u.x * s + u.y * c};
        const PagePoint right{u.x * c + u.y * s, u.y * c - u.x * s};
        if (!has_cone_ || cross(right_, right) > 0) right_ = right;
        if (!has_cone_ || cross(left_, left) < 0) left_ = left;
        has_cone_ = true;
        return true;
    }

private:
    PagePoint anchor_;
    double tolerance_;
    double farthest_ = 0;
    bool has_cone_ = false;
    PagePoint right_, left_;
};

}  // namespace

std::vector<std::size_t> sleeve_thinning(std::span<const PagePoint> points, const std::vector<char>& pinned,
                                         double tolerance) {
    std::vector<std::size_t> kept;
    if (points.empty()) return kept;
    kept.push_back(0);
    Sleeve sleeve(points[0], tolerance);
    const auto keep = [&](std::size_t i) {
        kept.push_back(i);
        sleeve = Sleeve(points[i], tolerance);
    };
    for (std::size_t i = 1; i < points.size(); ++i) {
        // The point before the first that does not fit is kept; from it, a
        // fresh sleeve admits any point.
        if (!sleeve.admits(points[i]) && kept.back() != i - 1) {
            keep(i - 1);
            sleeve.admits(points[i]);
        }
        if (i + 1 == points.size() || (!pinned.empty() && pinned[i])) keep(i);
    }
    return kept;
}

std::vector<std::size_t> thin_line(std::span<const PagePoint> points, const std::vector<char>& pinned) {
    const auto pinned_count = static_cast<std::size_t>(std::count(pinned.begin(), pinned.end(), 1));
    double tolerance = kLineTolerance;
    std::vector<std::size_t> kept = sleeve_thinning(points, pinned, tolerance);
    // Twenty doublings make the tolerance wider than any page.
    for (int doubling = 0; doubling < 20 && kept.size() > kMostLinePoints + pinned_count; ++doubling) {
        tolerance *= 2;
        kept = sleeve_thinning(points, pinned, tolerance);
    }
    return kept;
}

std::vector<std::size_t> column_envelope(std::span<const PagePoint> points, double width) {
    std::vector<std::size_t> kept;
    for (std::size_t first = 0; first < points.size();) {
        const double column = std::floor(points[first].x / width);
        std::size_t last = first, lowest = first, highest = first;
        while (last + 1 < points.size() && std::floor(points[last + 1].x / width) == column) {
            ++last;
            // The page's y grows downwards: the lowest point has the greatest y.
            if (points[last].y > points[lowest].y) lowest = last;
            if (points[last].y < points[highest].y) highest = last;
        }
        std::size_t four[] = {first, lowest, highest, last};
        std::sort(std::begin(four), std::end(four));
        for (const std::size_t i : four) {
            if (kept.empty() || kept.back() != i) kept.push_back(i);
        }
        first = last + 1;
    }
    return kept;
}

}  // namespace scenariogen::plotting
