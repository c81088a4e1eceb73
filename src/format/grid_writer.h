// The grid file written as its coordinates are computed: the x block and
// the y block grow side by side, each at its own offset, so that no more
// than a piece of the plan is ever held in memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "format/binary_format.h"
#include "format/little_endian.h"
#include "format/records.h"
#include "platform/file_system.h"

namespace scenariogen {

// A computed metre's value in the grid file: the tag, and the double's
// bytes, little-endian.
inline constexpr std::size_t kGridDoubleSize = format::grid::kDoubleSize;
using format::store_grid_double;

// The coordinates of the computed metres, in order from metre 0.
class CoordinateSource {
public:
    struct Piece {
        const double* x = nullptr;
        const double* y = nullptr;
        std::size_t count = 0;
    };
    virtual ~CoordinateSource() = default;
    // The next metres, at most `most` and at least one while any is left; the
    // values stay valid until the next call.
    virtual Piece next(std::size_t most) = 0;
    // The next `count` metres, after metres 0 and 1, each stored by
    // store_grid_double at x and at y, kGridDoubleSize bytes apart. Throws
    // std::logic_error when fewer are left. A source that computes its
    // values stores them as it goes.
    virtual void put_doubles(char* x, char* y, std::size_t count);
};

// The coordinates of a grid held in memory.
class StoredCoordinates : public CoordinateSource {
public:
    explicit StoredCoordinates(const Grid& grid) : grid_(grid) {}
    Piece next(std::size_t most) override;

private:
    const Grid& grid_;
    std::size_t metre_ = 0;
};

// A grid to write: its size, the metres computed, and where their values come from.
struct GridContent {
    std::int32_t last_metre = -1;  // -1: no size, an empty file
    std::int32_t computed_metres = 0;
    CoordinateSource* coordinates = nullptr;  // metres 0 to computed_metres - 1
};

std::uint64_t grid_file_size(const GridContent& grid);

// Pulls the coordinates and writes the file's grid_file_size() bytes.
void write_grid(const GridContent& grid, PositionedOutput& out);

}  // namespace scenariogen
