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

// Where a position of the route lies across the page.
class ProfileScale {
public:
    explicit ProfileScale(std::int32_t end_m) : end_m_(end_m) {}

    double X(double position) const { return kProfileX0 + position / std::max(end_m_, 1) * (kProfileX1 - kProfileX0); }
    bool on_profile(double position) const { return position >= 0 && position <= end_m_; }
    double mm_per_km() const { return 1000.0 * (kProfileX1 - kProfileX0) / std::max(end_m_, 1); }
    std::int32_t end_m() const { return end_m_; }

private:
    std::int32_t end_m_;
};

}  // namespace scenariogen::plotting
