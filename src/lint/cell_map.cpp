#include "lint/cell_map.h"

namespace scenariogen::lint {

CellMap::CellMap(std::int32_t last_cell)
    : kinds_(static_cast<std::size_t>(last_cell) + 1), markers_(static_cast<std::size_t>(last_cell) + 1) {}

const Occupant* CellMap::occupant(const std::vector<std::uint32_t>& slots, std::int64_t cell) const {
    if (!inside(cell)) return nullptr;
    const std::uint32_t slot = slots[static_cast<std::size_t>(cell)];
    return slot == 0 ? nullptr : &occupants_[slot - 1];
}

void CellMap::place(std::vector<std::uint32_t>& slots, std::int64_t cell, const Occupant& occupant) {
    if (!inside(cell)) return;
    std::uint32_t& slot = slots[static_cast<std::size_t>(cell)];
    if (slot != 0) {
        occupants_[slot - 1] = occupant;
        return;
    }
    occupants_.push_back(occupant);
    slot = static_cast<std::uint32_t>(occupants_.size());
}

const Occupant* CellMap::holder(std::int64_t cell) const { return occupant(kinds_, cell); }

void CellMap::take(std::int64_t cell, const Occupant& occupant) { place(kinds_, cell, occupant); }

const Occupant* CellMap::marker_writer(std::int64_t cell) const { return occupant(markers_, cell); }

void CellMap::mark(std::int64_t cell, const Occupant& occupant) { place(markers_, cell, occupant); }

std::string cell_extent(std::int64_t cell) {
    return "cell " + std::to_string(cell) + ", " + std::to_string(50 * (cell - 1)) + " to " +
           std::to_string(50 * cell) + " m";
}

}  // namespace scenariogen::lint
