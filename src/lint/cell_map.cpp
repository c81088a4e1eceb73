#include "lint/cell_map.h"

namespace scenariogen::lint {

CellMap::CellMap(std::int32_t last_cell)
    : kinds_(static_cast<std::size_t>(last_cell) + 1), markers_(static_cast<std::size_t>(last_cell) + 1) {}

const Occupant* CellMap::holder(std::int64_t cell) const {
    if (!inside(cell) || !kinds_[static_cast<std::size_t>(cell)]) return nullptr;
    return &*kinds_[static_cast<std::size_t>(cell)];
}

void CellMap::take(std::int64_t cell, const Occupant& occupant) {
    if (inside(cell)) kinds_[static_cast<std::size_t>(cell)] = occupant;
}

const Occupant* CellMap::marker_writer(std::int64_t cell) const {
    if (!inside(cell) || !markers_[static_cast<std::size_t>(cell)]) return nullptr;
    return &*markers_[static_cast<std::size_t>(cell)];
}

void CellMap::mark(std::int64_t cell, const Occupant& occupant) {
    if (inside(cell)) markers_[static_cast<std::size_t>(cell)] = occupant;
}

std::string cell_extent(std::int64_t cell) {
    return "cell " + std::to_string(cell) + ", " + std::to_string(50 * (cell - 1)) + " to " +
           std::to_string(50 * cell) + " m";
}

}  // namespace scenariogen::lint
