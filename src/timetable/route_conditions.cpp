#include "timetable/route_conditions.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "timetable/train_model.h"

namespace scenariogen {

namespace {

constexpr double kNoLimit = std::numeric_limits<double>::infinity();

// Pairs each slowdown end with the nearest open start of the same speed
// before it, and lowers the slowdown limit of the cells in between.
void mark_slowdowns(const std::vector<Cell>& cells, std::vector<double>& limit) {
    std::map<int, std::vector<std::size_t>> open_starts;  // by speed, in the order met
    const auto lower = [&limit](std::size_t first, std::size_t end, double speed) {
        for (std::size_t i = first; i < end && i < limit.size(); ++i) limit[i] = std::min(limit[i], speed);
    };
    for (std::size_t i = 1; i < cells.size(); ++i) {
        const Cell& c = cells[i];
        if (c.kind == kSlowdownStart) open_starts[c.value_1].push_back(i);
        if (c.kind != kSlowdownEnd) continue;
        auto open = open_starts.find(c.value_1);
        if (open == open_starts.end() || open->second.empty()) continue;  // an end with no start
        lower(open->second.back(), i, c.value_1);
        open->second.pop_back();
    }
    for (const auto& [speed, starts] : open_starts) {
        for (std::size_t start : starts) lower(start, start + 1, speed);
    }
}

}  // namespace

RouteConditions route_conditions(const std::vector<Cell>& cells, double max_speed_kmh) {
    RouteConditions route;
    std::vector<double> slowdown(cells.size(), kNoLimit);
    mark_slowdowns(cells, slowdown);
    route.limit_kmh.assign(cells.size(), 0);
    route.gradient_per_mille.assign(cells.size(), 0);
    for (std::size_t i = 1; i < cells.size(); ++i) {
        route.limit_kmh[i] = std::max(std::min({cells[i].speed_limit * 5.0, slowdown[i], max_speed_kmh}), 0.0);
        route.gradient_per_mille[i] = cells[i].gradient - 100;
    }
    return route;
}

std::size_t cell_at(const RouteConditions& route, double position) {
    if (!(position >= 0)) return 0;
    const double cell = std::floor(position / kCellMetres) + 1;
    if (cell >= static_cast<double>(route.cell_count())) return 0;
    return static_cast<std::size_t>(cell);
}

double limit_over(const RouteConditions& route, double from, double to) {
    const std::size_t first = cell_at(route, from);
    // The last metre touched lies just before `to`.
    const std::size_t last = to > from ? cell_at(route, std::nextafter(to, from)) : first;
    if (first == 0 || last == 0) return 0;
    double limit = route.limit_kmh[first];
    for (std::size_t i = first + 1; i <= last; ++i) limit = std::min(limit, route.limit_kmh[i]);
    return limit;
}

int gradient_at(const RouteConditions& route, double position) {
    return route.gradient_per_mille[cell_at(route, position)];
}

}  // namespace scenariogen
