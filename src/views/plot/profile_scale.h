// The profile's data and its horizontal scale: distance along the route
// from 0 to the end of the last cell across the page.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "format/records.h"
#include "views/plot/page_layout.h"

namespace scenariogen::plotting {

struct ProfileData {
    std::int32_t end_m = 0;          // the end of the last cell
    std::size_t last_data_cell = 0;  // cells 1 to this hold gradient and speed
    std::vector<double> height;      // at 50·i metres, i = 0 to last_data_cell

    // The height at a position, between the cells' ends.
    double height_at(double position) const;
};

// Heights from the gradients, 0 m at the start of the route.
ProfileData profile_data(const std::vector<Cell>& cells);

// Where a position of the route lies across the page.
class ProfileScale {
public:
    explicit ProfileScale(std::int32_t end_m) : end_m_(end_m) {}

    double X(double position) const { return kProfileX0 + position / std::max(end_m_, 1) * (kProfileX1 - kProfileX0); }
    bool on_profile(double position) const { return position >= 0 && position <= end_m_; }
    double mm_per_km() const { return 1000.0 * (kProfileX1 - kProfileX0) / std::max(end_m_, 1); }

private:
    std::int32_t end_m_;
};

}  // namespace scenariogen::plotting
