#include "pipeline/pipeline.h"

#include <algorithm>

#include "lint/check.h"
#include "pipeline/diagnostic_merge.h"

namespace scenariogen {

namespace {

bool is_error(const Diagnostic& d) { return d.severity == Severity::kError; }

// A line description checked alone: what the check says of the missing
// train description (with its notes) is left out.
Diagnostics without_train(Diagnostics found) {
    Diagnostics kept;
    bool dropping = false;
    for (Diagnostic& d : found) {
        if (d.severity != Severity::kNote) dropping = d.where && d.where->file == SourceFile::kTrain;
        if (!dropping) kept.push_back(std::move(d));
    }
    return kept;
}

void append(Diagnostics& to, Diagnostics from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

}  // namespace

std::size_t PipelineOutcome::error_count() const {
    return errors_left_out + static_cast<std::size_t>(std::count_if(diagnostics.begin(), diagnostics.end(), is_error));
}

bool PipelineOutcome::has_errors() const {
    return error_count() > 0 || !result || result->outcome != CompileOutcome::kCompiled;
}

bool PipelineOutcome::reading_stopped() const {
    if (!result) return true;
    for (const Diagnostic& fault : result->faults) {
        if (!fault.cell) return true;  // every fault but those of the placement rules ends a reading
    }
    return false;
}

PipelineOutcome run_pipeline(const PipelineInput& input) {
    PipelineOutcome outcome;
    PreparedText line = prepare_text(input.line, SourceFile::kLine, input.line_source);
    PreparedText train = prepare_text(input.train.value_or(std::string_view()), SourceFile::kTrain, input.train_source);
    outcome.line_text = std::move(line.windows_1252);
    outcome.train_text = std::move(train.windows_1252);
    Diagnostics found = std::move(line.diagnostics);
    append(found, std::move(train.diagnostics));
    if (line.refused || train.refused) {
        outcome.diagnostics = apply_warning_options(in_file_order(std::move(found)), input.warnings);
        return outcome;
    }
    Diagnostics checked = check_descriptions(outcome.line_text, outcome.train_text);
    append(found, input.train ? std::move(checked) : without_train(std::move(checked)));
    CompileInput compile_input{outcome.line_text, std::string_view(outcome.train_text), input.scenario_name,
                               input.train_number, input.build_grid};
    compile_input.grid_coordinates = input.grid_coordinates;
    outcome.result = compile(compile_input);
    Diagnostics merged = merge_diagnostics(std::move(found), outcome.result->faults);
    LimitedDiagnostics limited =
        limit_errors(apply_warning_options(std::move(merged), input.warnings), input.max_errors);
    outcome.diagnostics = std::move(limited.shown);
    outcome.errors_left_out = limited.errors_left_out;
    return outcome;
}

}  // namespace scenariogen
