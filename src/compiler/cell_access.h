// Checked access to the route cells. The readers reject every object whose
// cells fall outside the route before they mark it; this check stands behind
// them, so that no input can reach memory outside the cells.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "compiler/scenario.h"

namespace scenariogen {

inline Cell& cella(Scenario& s, std::int64_t i) {
    if (i < 0 || i > s.last_cell()) {
        throw std::out_of_range("cell " + std::to_string(i) + " lies outside the route (cells 0 to " +
                                std::to_string(s.last_cell()) + ")");
    }
    return s.cells[static_cast<std::size_t>(i)];
}

}  // namespace scenariogen
