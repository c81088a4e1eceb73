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

ProfileScale::ProfileScale(std::int32_t end_m, double from_m, double to_m) : end_m_(end_m) {
    const double end = std::max(end_m, 1);
    from_m_ = std::clamp(from_m, 0.0, end);
    to_m_ = std::clamp(to_m, from_m_, end);
    if (to_m_ - from_m_ < 1) {
        from_m_ = std::max(0.0, std::min(from_m_, end - 1));
        to_m_ = from_m_ + 1;
    }
    if (from_m_ <= 0 && to_m_ >= end) to_m_ = end_m;  // the whole profile, exactly as drawn without a window
}

namespace {

PagePoint at_x(const PagePoint& a, const PagePoint& b, double x) {
    const double t = (x - a.x) / (b.x - a.x);
    return {x, a.y + (b.y - a.y) * t};
}

}  // namespace

std::vector<PagePoint> framed_line(const std::vector<PagePoint>& line) {
    std::vector<PagePoint> framed;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const PagePoint& p = line[i];
        const bool inside = p.x >= kProfileX0 && p.x <= kProfileX1;
        if (i > 0) {
            const PagePoint& q = line[i - 1];
            // Where the segment from q to p crosses an edge, the crossing.
            for (const double edge : {kProfileX0, kProfileX1}) {
                if ((q.x < edge && p.x > edge) || (q.x > edge && p.x < edge)) framed.push_back(at_x(q, p, edge));
            }
        }
        if (inside) framed.push_back(p);
    }
    return framed;
}

double first_multiple(double from, double step) { return std::max(0.0, std::ceil(from / step - 1e-9) * step); }

}  // namespace scenariogen::plotting
