#include "lint/cell_map.h"

namespace scenariogen::lint {

CellMap::CellMap(std::int32_t last_cell)
    : kinds_(static_cast<std::size_t>(last_cell) + 1, -1), markers_(static_cast<std::size_t>(last_cell) + 1, -1) {}

int CellMap::add(Occupant occupant) {
    occupants_.push_back(std::move(occupant));
    return static_cast<int>(occupants_.size()) - 1;
}

std::optional<int> CellMap::holder(std::int64_t cell) const {
    if (!inside(cell) || kinds_[static_cast<std::size_t>(cell)] < 0) return std::nullopt;
    return kinds_[static_cast<std::size_t>(cell)];
}

void CellMap::take(std::int64_t cell, int id) {
    if (inside(cell)) kinds_[static_cast<std::size_t>(cell)] = id;
}

std::optional<int> CellMap::marker_writer(std::int64_t cell) const {
    if (!inside(cell) || markers_[static_cast<std::size_t>(cell)] < 0) return std::nullopt;
    return markers_[static_cast<std::size_t>(cell)];
}

void CellMap::mark(std::int64_t cell, int id) {
    if (inside(cell)) markers_[static_cast<std::size_t>(cell)] = id;
}

std::string cell_extent(std::int64_t cell) {
    return "cell " + std::to_string(cell) + ", " + std::to_string(50 * (cell - 1)) + " to " +
           std::to_string(50 * cell) + " m";
}

}  // namespace scenariogen::lint
