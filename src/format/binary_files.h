// The three binary files of a compiled scenario, written side by side: all
// of them change, or none.
#pragma once

#include <vector>

#include "format/grid_writer.h"
#include "format/records.h"
#include "format/scenario_files.h"

namespace scenariogen {

// Writes the grid file (when `grid` is given), the station table file and
// the cell file. Throws FileError; then no target has changed.
void write_binary_files(const std::vector<Cell>& cells, const StationTable& stations, const GridContent* grid,
                        const ScenarioFiles& targets);
// The same with the grid's coordinates held in memory.
void write_binary_files(const std::vector<Cell>& cells, const StationTable& stations, const Grid* grid,
                        const ScenarioFiles& targets);

}  // namespace scenariogen
