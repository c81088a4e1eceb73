// The compilation as `compile` and `check` run it for an author: the files
// read and their encoding made out, the strict check of every line, the
// compilation's numbered faults, and the warning options applied. Nothing
// is written here.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "compiler/compile.h"
#include "compiler/diagnostic.h"
#include "compiler/diagnostic_format.h"
#include "lint/warnings.h"

namespace scenariogen {

struct StrictOptions {
    std::string scenario_name;
    std::string train_number;
    bool build_grid = true;
    WarningOptions warnings;
    std::size_t max_errors = 50;  // 0: no limit
};

struct StrictCompilation {
    std::string line_text;  // Windows-1252, as checked and compiled
    std::string train_text;
    Diagnostics diagnostics;  // the strict check's, warning options applied
    CompileResult result;     // the compilation (empty when a file was refused)
    bool compiled = false;    // false: a file was refused before the compilation

    // True when the binary files must not be written: any error of the check,
    // any numbered fault of the compilation, or a compilation without records.
    bool has_errors() const;
};

// Reads LINE and TRAIN (both readable: the caller checked) and compiles them strictly.
StrictCompilation compile_strictly(const std::string& line_path, const std::string& train_path,
                                   const StrictOptions& options);

// Prints the diagnostics (up to the error limit) and then the compilation's
// numbered faults, each at its place; returns the number of errors shown or left out.
std::size_t report_strictly(const StrictCompilation& compilation, const DiagnosticSources& sources,
                            std::size_t max_errors, std::ostream& err);

// Adds the warning and error-limit options (-W..., -fmax-errors=N) to a command.
struct StrictFlags {
    std::vector<std::string> w;  // -Werror, -Wname, -Wno-name
    std::vector<std::string> f;  // -fmax-errors=N
    // Turns the flags into options; false, with a message, for a flag it does not know.
    bool apply(StrictOptions& options, std::ostream& err) const;
};

}  // namespace scenariogen
