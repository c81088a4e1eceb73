// Checked access to the route cells. The readers reject every object whose
// cells fall outside the route before they mark it; this check stands behind
// them, so that no input reaches memory outside the cells. Reaching it is a
// slip of the program's own, never a fault of the description.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "compiler/compilation_state.h"

namespace scenariogen {

// A broken invariant of the compiler itself.
class InternalError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

inline Cell& cell(CompilationState& s, std::int64_t i) {
    if (i < 0 || i > s.last_cell()) {
        throw InternalError("cell " + std::to_string(i) + " lies outside the route (cells 0 to " +
                            std::to_string(s.last_cell()) + ")");
    }
    return s.cells[static_cast<std::size_t>(i)];
}

}  // namespace scenariogen
