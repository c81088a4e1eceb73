#include "views/plot/profile_scale.h"

#include <algorithm>
#include <cmath>

#include "views/plot/plot_content.h"

namespace scenariogen::plotting {

double ProfileData::height_at(double position) const {
    if (height.empty()) return 0;
    const double i = std::clamp(position / kCellLength, 0.0, static_cast<double>(height.size() - 1));
    const auto a = static_cast<std::size_t>(std::floor(i));
    const std::size_t b = std::min(a + 1, height.size() - 1);
    return height[a] + (height[b] - height[a]) * (i - static_cast<double>(a));
}

ProfileData profile_data(const std::vector<Cell>& cells) {
    ProfileData data;
    data.end_m = position_to_cell_start(cells.size());  // the end of cell size − 1
    for (std::size_t i = 1; i < cells.size(); ++i) {
        if (cells[i].gradient != 0 || cells[i].speed_limit != 0) data.last_data_cell = i;
    }
    data.height.push_back(0);
    for (std::size_t i = 1; i <= data.last_data_cell; ++i) {
        data.height.push_back(data.height.back() + (cells[i].gradient - 100) * (kCellLength / 1000.0));
    }
    return data;
}

}  // namespace scenariogen::plotting
