#include "views/plot/profile_scale.h"

#include <algorithm>
#include <cmath>

namespace scenariogen::plotting {

std::int32_t profile_end(const PageContent& content) {
    const std::int32_t cells_end = content.end_m;
    std::int32_t end = content.route_length_m > 0 ? std::min(content.route_length_m, cells_end) : cells_end;
    for (const Station& s : content.stations) {
        if (s.plotted.position_m > end && s.plotted.position_m <= cells_end) end = s.plotted.position_m;
    }
    const std::vector<Cell>& cells = content.cells;
    for (std::size_t i = cells.size(); i-- > 1;) {
        if (cells[i].kind == kEmpty || cells[i].kind == kStationEnd) continue;
        end = std::max(end, std::min(cells_end, position_to_cell_start(i) + kCellLength));
        break;
    }
    return std::max(end, 0);
}

double ProfileData::height_at(double position) const {
    if (height.empty()) return 0;
    const double i = std::clamp(position / kCellLength, 0.0, static_cast<double>(height.size() - 1));
    const auto a = static_cast<std::size_t>(std::floor(i));
    const std::size_t b = std::min(a + 1, height.size() - 1);
    return height[a] + (height[b] - height[a]) * (i - static_cast<double>(a));
}

ProfileData profile_data(const std::vector<Cell>& cells, std::int32_t end_m) {
    ProfileData data;
    data.end_m = end_m;
    // The cells that cover the profile, up to the last that holds data.
    const auto covering = static_cast<std::size_t>((std::int64_t{end_m} + kCellLength - 1) / kCellLength);
    for (std::size_t i = 1; i < cells.size() && i <= covering; ++i) {
        if (cells[i].gradient != 0 || cells[i].speed_limit != 0) data.last_data_cell = i;
    }
    data.height.push_back(0);
    for (std::size_t i = 1; i <= data.last_data_cell; ++i) {
        data.height.push_back(data.height.back() + (cells[i].gradient - 100) * (kCellLength / 1000.0));
    }
    return data;
}

}  // namespace scenariogen::plotting
