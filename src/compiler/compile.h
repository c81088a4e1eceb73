// The compilation as a function of text: the line and train descriptions in,
// the scenario records and every fault out. Nothing here opens, writes or
// deletes a file; the callers own the disk.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/diagnostic.h"
#include "compiler/plan_geometry.h"
#include "format/records.h"
#include "syntax/keywords.h"

namespace scenariogen {

// The largest description read: far more than the densest description of
// the longest route needs, and a bound on the memory a compilation takes.
inline constexpr std::size_t kMaxDescriptionBytes = std::size_t{64} << 20;

struct CompileInput {
    std::string_view line_text;
    // None: the train description could not be read (a reading failure,
    // error 25, once the reading reaches it).
    std::optional<std::string_view> train_text;
    std::string scenario_name;
    std::string train_number;
    bool build_grid = true;  // compute the plan grid
    // With build_grid, false follows the plan metre by metre without
    // computing x and y: the faults and the records but the grid's
    // coordinates come out the same, at a fraction of the time (the grid
    // then holds its metres and no coordinate). The coordinates can still
    // be computed from the result's plan stretches, piece by piece, as the
    // grid file is written.
    bool grid_coordinates = true;
};

enum class CompileOutcome {
    kCompiled,          // the records are complete (faults may be recorded)
    kNoCells,           // the reading stopped before the route had cells: nothing to write
    kHeaderSlotsTaken,  // errors 1250 and 1251: the run ends, nothing is written
};

// Where the text put an object: the line that placed it, and the cells it
// took. Objects that mark no cell (a curve) name the cells their stretch covers.
struct Placement {
    SourceFile file = SourceFile::kLine;
    int line = 0;
    syntax::Span keyword_at;                               // the keyword field of that line
    syntax::Keyword keyword = syntax::Keyword::kGradient;  // as the reader understood it
    std::int32_t position = 0;                             // metres
    std::int32_t first_cell = 0;                           // first_cell > last_cell: no cell
    std::int32_t last_cell = -1;
};

// Where the values of a station line stand in the train description, in the
// order the line holds them: the station table's entries 1, 2, 3 ... come
// from the station lines in this order.
struct StationSource {
    std::vector<SourceRange> values;
};

// The rule behind CompileResult::train_description_consumed().
inline bool consumes_train_description(bool train_read, bool reading_failed) { return train_read || reading_failed; }

struct CompileResult {
    CompileOutcome outcome = CompileOutcome::kCompiled;
    std::vector<Cell> cells;  // cells 0 to U; empty when the route has none
    StationTable stations{};
    Grid grid;
    PlanStretches plan_stretches;  // how the grid's metres were computed
    // Every fault in the order found; the last is the run's error number.
    Diagnostics faults;
    std::int32_t last_error = 0;      // 0: none
    std::int32_t error_position = 0;  // metres, as the last fault that set it left it
    // How far the texts were read: the train description is read only when
    // the line description's reading did not stop it; a reading failure
    // (error 25) ends the reading of both.
    bool train_read = false;
    bool reading_failed = false;

    // Whether a run that compiles its own description files deletes the
    // train description after the compilation: when its reading began, or
    // a reading failure ended both readings. (The line description goes in
    // every case once it was found.)
    bool train_description_consumed() const { return consumes_train_description(train_read, reading_failed); }
    std::vector<Placement> placements;  // in the order read
    std::vector<StationSource> station_sources;

    // The last cell index U; -1 when the route has no cells.
    std::int32_t last_cell() const { return static_cast<std::int32_t>(cells.size()) - 1; }
};

[[nodiscard]] CompileResult compile(const CompileInput& input);

// The keyword of the signal or slowdown whose cells hold `cell`: where an
// author finds a fault that the placement rules report at a cell.
std::optional<SourceRange> placing_line(const CompileResult& result, std::int32_t cell);

}  // namespace scenariogen
