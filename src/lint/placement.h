// Where the compiler puts an object, by the rules of the format: a real value
// rounds to the nearest integer, ties to even.
#pragma once

#include <cmath>
#include <cstdint>

namespace scenariogen::lint {

inline std::int64_t nearest(double x) { return static_cast<std::int64_t>(std::nearbyint(x)); }

// The cell of an object at p metres: cell c covers 50 (c - 1) to 50 c.
inline std::int64_t object_cell(std::int64_t p) { return nearest(static_cast<double>(p) / 50 + 1); }

// The first cell that a change at p metres reaches (gradient, speed,
// adhesion): the cells before it keep the value in force.
inline std::int64_t boundary_cell(std::int64_t p) { return nearest(static_cast<double>(p) / 50); }

// The last cell of a route of `length` metres: U.
inline std::int64_t last_cell(std::int64_t length) { return nearest(static_cast<double>(length + 7000) / 50); }

// The cells that a mountain stretch marks; first > last marks none.
struct MountainCells {
    std::int64_t first;
    std::int64_t last;
};
inline MountainCells mountain_cells(std::int64_t start, std::int64_t end) {
    return {nearest(static_cast<double>(start) / 50), nearest(static_cast<double>(end) / 50 - 1)};
}

// The cells of a slowdown at p metres of length l: the warning point w (only
// past 1500 m), start s, end e, and k, the first of the four cells before
// the warning (k, k - 1, k - 2, k - 3).
struct SlowdownCells {
    bool warned;
    std::int64_t w, s, e, k;
};
inline SlowdownCells slowdown_cells(std::int64_t p, std::int64_t l) {
    const double at = static_cast<double>(p);
    return {p > 1500, nearest((at - 1200) / 50 + 1), nearest(at / 50 + 1),
            nearest((at + static_cast<double>(l)) / 50 + 1), nearest((at - 1200) / 50)};
}

}  // namespace scenariogen::lint
