// The route's cells as the objects of both descriptions take them, in the
// order the compiler places them: who holds each cell's type (a board, a
// signal, a slowdown's cell, a station's end marker) and who wrote each
// cell's approach marker, so that an object placed over another is reported
// with the line of the other.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/diagnostic.h"
#include "lint/syntax_names.h"

namespace scenariogen::lint {

struct Occupant {
    SourceFile file = SourceFile::kLine;
    int line = 0;
    Span span;              // the keyword, for a note
    std::string_view what;  // "signal", "sign board", "station's end marker": a text of the program's own
};

class CellMap {
public:
    explicit CellMap(std::int32_t last_cell);

    bool inside(std::int64_t cell) const { return cell >= 0 && cell < static_cast<std::int64_t>(kinds_.size()); }

    // The object that holds the cell's type; none when the cell is free.
    const Occupant* holder(std::int64_t cell) const;
    void take(std::int64_t cell, const Occupant& occupant);

    // The object that wrote the cell's approach marker.
    const Occupant* marker_writer(std::int64_t cell) const;
    void mark(std::int64_t cell, const Occupant& occupant);

private:
    // Few cells are taken: each cell holds the number of its occupant in
    // `occupants_` plus one, 0 when it has none. A deque keeps the
    // occupants in place as more are added.
    const Occupant* occupant(const std::vector<std::uint32_t>& slots, std::int64_t cell) const;
    void place(std::vector<std::uint32_t>& slots, std::int64_t cell, const Occupant& occupant);

    std::vector<std::uint32_t> kinds_;
    std::vector<std::uint32_t> markers_;
    std::deque<Occupant> occupants_;
};

// The metres a cell covers: cell c from 50 (c - 1) to 50 c.
std::string cell_extent(std::int64_t cell);

}  // namespace scenariogen::lint
