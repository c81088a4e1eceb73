// The state of one compilation: everything the readers, the marker
// procedures and the post-processing share, from the first field read to
// the finished records. One object per compilation; nothing outlives it but
// the result it is moved into.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/compile.h"
#include "compiler/diagnostic.h"
#include "compiler/plan_geometry.h"
#include "format/records.h"

namespace scenariogen {

inline constexpr std::int32_t kMaxRouteLength = 1000000;
inline constexpr int kMaxMountainStretches = 80;

struct CompilationState {
    std::string scenario_name;
    std::string train_number;
    bool build_grid = true;
    bool grid_coordinates = true;  // see CompileInput

    std::vector<Cell> cells;  // cells 0 to U; empty until sized
    StationTable stations{};
    Grid grid;
    PlanStretches plan_stretches;  // how the grid's metres were computed

    // Mountain stretches in the order read; index 0 is never used.
    std::array<std::int32_t, kMaxMountainStretches + 1> mountain_starts{};
    std::array<std::int32_t, kMaxMountainStretches + 1> mountain_ends{};
    std::int32_t mountain_count = 0;

    // The last error number recorded (0: none) and the last position a fault set.
    std::int32_t last_error = 0;
    std::int32_t error_position = 0;
    Diagnostics faults;  // every fault in the order found
    std::vector<Placement> placements;
    std::vector<StationSource> station_sources;

    bool has_cells() const { return !cells.empty(); }
    // The last cell index U.
    std::int32_t last_cell() const { return static_cast<std::int32_t>(cells.size()) - 1; }

    // Records a fault: the number always, the position when the fault sets one.
    void record(Diagnostic fault) {
        last_error = fault.number;
        if (fault.position) error_position = *fault.position;
        faults.push_back(std::move(fault));
    }
};

}  // namespace scenariogen
