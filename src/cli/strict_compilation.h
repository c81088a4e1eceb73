// The compilation as `compile` and `check` run it for an author: the files
// read and handed to the pipeline, which checks them strictly, compiles
// them and gives one list of diagnostics. Nothing is written here.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "compiler/diagnostic_format.h"
#include "lint/warnings.h"
#include "pipeline/pipeline.h"

namespace scenariogen {

struct StrictOptions {
    std::string scenario_name;
    std::string train_number;
    bool build_grid = true;
    WarningOptions warnings;
    std::size_t max_errors = 50;  // 0: no limit
};

// Reads LINE and TRAIN and runs the pipeline on them; a file that cannot be
// read is an error of its own, and nothing is compiled.
[[nodiscard]] PipelineOutcome compile_strictly(const std::string& line_path, const std::string& train_path,
                                               const StrictOptions& options);

// Prints the diagnostics, and how many errors the limit left out; returns
// the number of errors.
std::size_t report_strictly(const PipelineOutcome& outcome, const DiagnosticSources& sources, std::size_t max_errors,
                            std::ostream& err);

// Adds the warning and error-limit options (-W..., -fmax-errors=N) to a command.
struct StrictFlags {
    std::vector<std::string> w;  // -Werror, -Wname, -Wno-name
    std::vector<std::string> f;  // -fmax-errors=N
    // Turns the flags into options; false, with a message, for a flag it does not know.
    [[nodiscard]] bool apply(StrictOptions& options, std::ostream& err) const;
};

}  // namespace scenariogen
