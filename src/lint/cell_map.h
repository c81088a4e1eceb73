// The route's cells as the objects of both descriptions take them, in the
// order the compiler places them: who holds each cell's type (a board, a
// signal, a slowdown's cell, a station's end marker) and who wrote each
// cell's approach marker, so that an object placed over another is reported
// with the line of the other.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/diagnostic.h"
#include "lint/field_stream.h"

namespace scenariogen::lint {

struct Occupant {
    SourceFile file = SourceFile::kLine;
    int line = 0;
    Span span;         // the keyword, for a note
    std::string what;  // "signal", "sign board", "station's end marker"
};

class CellMap {
public:
    explicit CellMap(std::int32_t last_cell);

    bool inside(std::int64_t cell) const { return cell >= 0 && cell < static_cast<std::int64_t>(kinds_.size()); }

    // Registers an object; its number is what take() and mark() record.
    int add(Occupant occupant);
    const Occupant& occupant(int id) const { return occupants_[static_cast<std::size_t>(id)]; }

    // The object that holds the cell's type; none when the cell is free.
    std::optional<int> holder(std::int64_t cell) const;
    void take(std::int64_t cell, int id);

    // The object that wrote the cell's approach marker.
    std::optional<int> marker_writer(std::int64_t cell) const;
    void mark(std::int64_t cell, int id);

private:
    std::vector<Occupant> occupants_;
    std::vector<int> kinds_;    // -1: free
    std::vector<int> markers_;  // -1: none
};

// The metres a cell covers: cell c from 50 (c - 1) to 50 c.
std::string cell_extent(std::int64_t cell);

}  // namespace scenariogen::lint
