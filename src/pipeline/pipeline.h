// The one way from the two description texts to an outcome, behind every
// front end: `compile` and `check` on the command line, the preview and the
// language server. The texts are made ready (their encoding), checked
// strictly, compiled, and the diagnostics of the check and the compiler are
// merged into one list, warning options applied, in file order. So the same
// texts give the same diagnostics, in the same order, at the same places,
// wherever the author looks. Nothing here reads or writes a file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "compiler/compile.h"
#include "compiler/diagnostic.h"
#include "lint/warnings.h"
#include "pipeline/text_preparation.h"

namespace scenariogen {

struct PipelineInput {
    std::string_view line;                  // the line description's bytes
    std::optional<std::string_view> train;  // none: the line description alone
    TextSource line_source = TextSource::kFiles;
    TextSource train_source = TextSource::kFiles;
    std::string scenario_name;
    std::string train_number;
    bool build_grid = true;
    // Whether the compiled grid holds its coordinates; without them the grid
    // holds its metres, and the coordinates follow from the plan's stretches.
    bool grid_coordinates = false;
    WarningOptions warnings;
    std::size_t max_errors = 0;  // errors shown at most; 0: all
};

struct PipelineOutcome {
    std::string line_text;  // Windows-1252, as checked and compiled
    std::string train_text;
    // Every diagnostic, each followed by its notes, in file order: the line
    // description first, a file's own diagnostics before its lines'.
    Diagnostics diagnostics;
    std::size_t errors_left_out = 0;      // beyond max_errors
    std::optional<CompileResult> result;  // none: a text was refused before the compilation

    std::size_t error_count() const;  // shown or left out
    // True when the binary files must not be written: an error, or a
    // compilation without records.
    bool has_errors() const;
    // The compilation's reading stopped before the end of the texts: what it
    // stored is only part of what they describe.
    bool reading_stopped() const;
};

[[nodiscard]] PipelineOutcome run_pipeline(const PipelineInput& input);

}  // namespace scenariogen
