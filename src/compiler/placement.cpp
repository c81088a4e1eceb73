#include "compiler/placement.h"

#include "compiler/conversions.h"

namespace scenariogen {

namespace {
constexpr std::int32_t kWarningDistance = 1200;   // the warning point stands 1200 m before the slowdown
constexpr std::int32_t kFirstWarnedStart = 1500;  // a slowdown up to here has no warning point
}  // namespace

std::int32_t last_cell_of_route(std::int32_t length) {
    return nearest((static_cast<double>(length) + 7000) / 50.0);  // exact: a 32-bit sum fits a double
}

bool beyond_cells(std::int64_t p, std::int64_t room, std::int32_t last_cell) {
    return p < 0 || static_cast<double>(p + room) / 50 > last_cell;
}

std::int32_t object_cell(std::int32_t position) { return nearest(position / 50.0 + 1); }

std::int32_t boundary_cell(std::int32_t position) { return nearest(position / 50.0); }

MountainStretchCells mountain_stretch_cells(std::int32_t start, std::int32_t end) {
    return {nearest(start / 50.0), nearest(end / 50.0 - 1)};
}

SlowdownCells slowdown_cells(std::int32_t position, std::int32_t length) {
    const double p = position;
    return {
        position > kFirstWarnedStart,   nearest((p - kWarningDistance) / 50 + 1), nearest(p / 50 + 1),
        nearest((p + length) / 50 + 1), nearest((p - kWarningDistance) / 50),
    };
}

bool is_short_station_type(std::uint8_t type) { return type >= 5 && type <= 8; }

StationArea station_area(std::int32_t position, std::uint8_t type, std::int32_t length, bool extended) {
    const std::int64_t p = position;
    if (type == 5 || type == 6) return {p - length, p + 150};
    if (type == 7 || type == 8) return {p - length, p + length};
    const double half = length / 2.0;
    const auto rounded = [](double x) { return static_cast<std::int64_t>(detail::nearest_even(x)); };
    return {rounded(static_cast<double>(p) - half), rounded(static_cast<double>(p) + half) + (extended ? 50 : 0)};
}

double station_end_cell(std::int64_t end) { return static_cast<double>(end) / 50 - 1; }

}  // namespace scenariogen
