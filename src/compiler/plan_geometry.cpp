#include "compiler/plan_geometry.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>

namespace scenariogen {

namespace {

// `count` steps of curvature k from the two metres at `end`, each new
// metre handed to put(i, x, y). The last two metres stay in registers: each
// step waits only for the arithmetic of the step before, never for a value
// to come back from memory.
template <class Put>
void continue_track(TrackEnd& end, std::size_t count, double k, Put put) {
    double x0 = end.x0, x1 = end.x1, y0 = end.y0, y1 = end.y1;
    if (k == 0.0) {
        for (std::size_t i = 0; i < count; ++i) {
            const double dx = x1 - x0;
            const double dy = y1 - y0;
            x0 = x1;
            y0 = y1;
            x1 = x1 + dx;
            y1 = y1 + dy;
            put(i, x1, y1);
        }
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            const double dx = x1 - x0;
            const double dy = y1 - y0;
            x0 = x1;
            y0 = y1;
            x1 = x1 + (dx + k * dy);
            y1 = y1 + (dy - k * dx);
            put(i, x1, y1);
        }
    }
    end = TrackEnd{x0, x1, y0, y1};
}

// The metres that the steps reach: every metre from the next up to `last`,
// stopping past the first at or after `limit`.
bool count_steps(Grid& g, std::int64_t last, std::int64_t limit) {
    const std::int64_t m = g.computed_metres;
    if (m > last) return true;
    const std::int64_t stop = std::max(m, limit);
    g.computed_metres = static_cast<std::int32_t>(stop <= last ? stop + 1 : last + 1);
    return stop > last;
}

// Steps with curvature k (0 for straight steps) while the next metre is at
// most `last`; false when a step passes `limit`.
bool steps(Grid& g, PlanStretches& stretches, std::int64_t last, double k, std::int64_t limit) {
    const std::int32_t first = g.computed_metres;
    const bool within = count_steps(g, last, limit);
    if (g.computed_metres == first) return within;
    stretches.push_back(PlanStretch{first, g.computed_metres, k});
    if (!g.x.empty() && first >= 2) {  // each metre continues the two before it
        const auto at = static_cast<std::size_t>(first);
        TrackEnd end{g.x[at - 2], g.x[at - 1], g.y[at - 2], g.y[at - 1]};
        double* x = g.x.data() + at;
        double* y = g.y.data() + at;
        continue_track(end, static_cast<std::size_t>(g.computed_metres - first), k,
                       [x, y](std::size_t i, double xi, double yi) {
                           x[i] = xi;
                           y[i] = yi;
                       });
    }
    return within;
}

}  // namespace

double curvature_of_class(int curve_class) {
    static constexpr std::array<double, 6> kCurvatures{0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
    return curve_class >= 1 && curve_class <= 6 ? kCurvatures[static_cast<std::size_t>(curve_class - 1)] : 0;
}

void start_track(Grid& g, PlanStretches& stretches) {
    g.computed_metres = 2;
    stretches.clear();
    if (g.x.empty()) return;
    g.x[0] = 0;
    g.y[0] = 0;
    g.x[1] = 0;
    g.y[1] = 1;
}

void straight_until(Grid& g, PlanStretches& stretches, std::int64_t last) { steps(g, stretches, last, 0.0, INT64_MAX); }

bool curve(Grid& g, PlanStretches& stretches, std::int64_t start, std::int64_t length, double k) {
    return steps(g, stretches, start, 0.0, kMaxGridMetre) && steps(g, stretches, start + length, k, kMaxGridMetre);
}

template <class Put>
void PlanCoordinates::compute(std::size_t count, Put put) {
    std::size_t done = 0;
    while (done < count) {
        const std::int64_t m = metre_ + static_cast<std::int64_t>(done);
        while (stretch_ < stretches_.size() && stretches_[stretch_].end <= m) ++stretch_;
        std::size_t n = count - done;
        double k = 0.0;
        if (stretch_ < stretches_.size()) {
            const PlanStretch& stretch = stretches_[stretch_];
            if (stretch.first <= m) {
                k = stretch.k;
                n = std::min(n, static_cast<std::size_t>(stretch.end - m));
            } else {  // no stretch computed these metres: straight on
                n = std::min(n, static_cast<std::size_t>(stretch.first - m));
            }
        }
        continue_track(end_, n, k, [&put, done](std::size_t i, double x, double y) { put(done + i, x, y); });
        done += n;
    }
    metre_ += static_cast<std::int64_t>(count);
}

CoordinateSource::Piece PlanCoordinates::next(std::size_t most) {
    if (metre_ < 2) {  // metres 0 and 1, where the track starts
        const auto start = static_cast<std::size_t>(metre_);
        const std::size_t n = std::min(most, 2 - start);
        metre_ += static_cast<std::int64_t>(n);
        return Piece{x_ + start, y_ + start, n};
    }
    const std::size_t count = std::min(most, kPiece);
    compute(count, [this](std::size_t i, double x, double y) {
        x_[i] = x;
        y_[i] = y;
    });
    return Piece{x_, y_, count};
}

void PlanCoordinates::put_doubles(char* x, char* y, std::size_t count) {
    if (metre_ < 2) throw std::logic_error("metres 0 and 1 are not doubles");
    compute(count, [x, y](std::size_t i, double xi, double yi) {
        store_grid_double(x + i * kGridDoubleSize, xi);
        store_grid_double(y + i * kGridDoubleSize, yi);
    });
}

}  // namespace scenariogen
