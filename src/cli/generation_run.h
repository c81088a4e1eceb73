// The generation run: the scenario's fixed line and train written as
// description files, the three documents, then the compilation of the
// description files, read back from disk, into the three binary files.
#pragma once

#include <iosfwd>
#include <string>

#include "compiler/compile.h"
#include "format/scenario_files.h"

namespace scenariogen {

// The compilation step of the run, on the description files in the scenario's
// folder: read back from disk, compiled, each deleted once read, and the
// binary files written from what was stored (the grid file only with
// `build_grid`). Throws FileError when a binary file cannot be written.
struct FolderCompilation {
    CompileResult result;
    std::string line_text;  // what was read, for the places of the faults
    std::string train_text;
};
FolderCompilation compile_scenario_folder(const ScenarioFiles& files, bool build_grid);

// Runs the whole generation into `folder`, reporting on `status`; returns
// the exit status.
int run_generation(const std::string& folder, std::ostream& status);

}  // namespace scenariogen
