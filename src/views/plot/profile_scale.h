// The profile's data and its horizontal scale: distance along the route
// from 0 to the route's end across the page (past it only as far as an
// object placed beyond it).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "format/records.h"
#include "views/plot/page_layout.h"
#include "views/plot/plot_content.h"

namespace scenariogen::plotting {

// Where the profile ends: the route's end, or the end of the last cell for
// a route without a length; further, up to the end of the cells, when a
// station or an object lies beyond the route's end.
std::int32_t profile_end(const PageContent& content);

struct ProfileData {
    std::int32_t end_m = 0;          // where the profile ends
    std::size_t last_data_cell = 0;  // cells 1 to this hold gradient and speed, up to the end
    std::vector<double> height;      // at 50·i metres, i = 0 to last_data_cell

    // The height at a position, between the cells' ends.
    double height_at(double position) const;
};

// Heights from the gradients, 0 m at the start of the route, up to `end_m`.
ProfileData profile_data(const std::vector<Cell>& cells, std::int32_t end_m);

// Where a position of the route lies across the page: the profile's
// stretch `from_m` to `to_m` (the whole profile unless a window was asked
// for) spans the page from kProfileX0 to kProfileX1.
class ProfileScale {
public:
    explicit ProfileScale(std::int32_t end_m) : ProfileScale(end_m, 0, end_m) {}
    // The stretch is kept within 0 to end_m and at least a metre wide.
    ProfileScale(std::int32_t end_m, double from_m, double to_m);

    double X(double position) const {
        return kProfileX0 + (position - from_m_) / width_m() * (kProfileX1 - kProfileX0);
    }
    // X, kept within the profile's frame.
    double framed_X(double position) const { return std::clamp(X(position), kProfileX0, kProfileX1); }
    bool on_profile(double position) const { return position >= from_m_ && position <= to_m_; }
    // Whether a stretch of the route from a to b shows on the profile.
    bool shows(double a, double b) const { return b >= from_m_ && a <= to_m_; }
    double mm_per_km() const { return 1000.0 * (kProfileX1 - kProfileX0) / width_m(); }
    std::int32_t end_m() const { return end_m_; }
    double from_m() const { return from_m_; }
    double to_m() const { return to_m_; }
    bool whole() const { return from_m_ <= 0 && to_m_ >= end_m_; }

private:
    double width_m() const { return std::max(to_m_ - from_m_, 1.0); }

    std::int32_t end_m_;
    double from_m_;
    double to_m_;
};

// The part of a line (points in order of x) within the profile's frame,
// cut where it crosses the frame's left and right edges.
std::vector<PagePoint> framed_line(const std::vector<PagePoint>& line);

// The first multiple of `step` at or after `from`.
double first_multiple(double from, double step);

}  // namespace scenariogen::plotting
