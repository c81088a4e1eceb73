// Checked access to the route cells. The readers reject every object whose
// cells fall outside the route before they mark it; this check stands behind
// them, so that no input can reach memory outside the cells.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "compiler/scenario.h"

namespace scenariogen {

inline cella_percorso& cella(Scenario& s, std::int64_t i) {
    if (i < 0 || i > s.ultima_cella()) {
        throw std::out_of_range("cell " + std::to_string(i) + " lies outside the route (cells 0 to " +
                                std::to_string(s.ultima_cella()) + ")");
    }
    return s.percorso[static_cast<std::size_t>(i)];
}

}  // namespace scenariogen
