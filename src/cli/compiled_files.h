// A compilation's three binary files written from its result.
#pragma once

#include "compiler/compile.h"
#include "format/scenario_files.h"

namespace scenariogen {

// Writes the cell file, the station table file and, `with_grid`, the grid
// file. A result compiled without coordinates has them computed from its
// plan as the grid file is written, a piece at a time. Throws FileError.
void write_compiled_files(const CompileResult& result, bool with_grid, const ScenarioFiles& targets);

}  // namespace scenariogen
