#include "preview/preview_compilation.h"

#include <cmath>
#include <string_view>
#include <utility>

#include "compiler/diagnostic_format.h"
#include "format/binary_format.h"
#include "platform/file_system.h"
#include "views/plot/page_layout.h"

namespace scenariogen {

namespace {

// Where on the route a fault is: the position it names, the start of its
// cell, or else the position of the object its line placed.
std::optional<std::int32_t> route_position(const Diagnostic& fault, const CompileResult& result) {
    if (fault.position) return fault.position;
    if (fault.cell) return (*fault.cell - 1) * format::kCellLength;
    if (!fault.where || fault.where->line <= 0) return std::nullopt;
    for (const Placement& placement : result.placements) {
        if (placement.file == fault.where->file && placement.line == fault.where->line) return placement.position;
    }
    return std::nullopt;
}

// Where each line of a text starts, found once for all its faults; the
// lines end as text_line() ends them.
class LineStarts {
public:
    explicit LineStarts(std::string_view text) : text_(text) {
        starts_.push_back(0);
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            if (text[i] == '\r' || text[i] == '\n') starts_.push_back(i + 1);
        }
    }

    // Line `line` (1-based) without its end; empty past the last line.
    std::string_view line(int line) const {
        if (line < 1 || static_cast<std::size_t>(line) > starts_.size()) return {};
        return text_line(text_.substr(starts_[static_cast<std::size_t>(line) - 1]), 1);
    }

private:
    std::string_view text_;
    std::vector<std::size_t> starts_;
};

struct FaultSources {
    DiagnosticSources names;  // the files' names, without their texts: the fault's first line
    LineStarts line_file;
    LineStarts train_file;
};

PreviewFault preview_fault(const Diagnostic& fault, const CompileResult* result, const FaultSources& texts) {
    PreviewFault shown;
    const std::string report = format_diagnostic(fault, texts.names);
    shown.text = report.substr(0, report.find('\n'));
    shown.severity = std::string(severity_word(fault.severity));
    shown.number = fault.number;
    shown.name = fault.name;
    if (result != nullptr) shown.position_m = route_position(fault, *result);
    if (fault.where) {
        const bool in_line = fault.where->file == SourceFile::kLine;
        shown.file = in_line ? texts.names.line_file : texts.names.train_file;
        shown.line = fault.where->line;
        shown.column = fault.where->column;
        if (shown.line > 0)
            shown.source_line = printable((in_line ? texts.line_file : texts.train_file).line(shown.line));
    }
    return shown;
}

}  // namespace

PreviewCompilation compile_for_preview(const PreviewSources& sources) {
    PreviewCompilation compilation;
    std::string line_text, train_text;
    try {
        line_text = read_file(sources.line_path, kMaxDescriptionBytes);
        train_text = read_file(sources.train_path, kMaxDescriptionBytes);
    } catch (const FileError& failure) {
        compilation.unreadable = "cannot read " + failure.path() + ": " + failure.reason();
        return compilation;
    }
    PipelineInput input;
    input.line = line_text;
    input.train = train_text;
    input.scenario_name = sources.scenario_name;
    input.train_number = sources.train_number;
    input.grid_coordinates = true;  // the plan is drawn from them
    compilation.outcome = run_pipeline(input);
    const PipelineOutcome& outcome = compilation.outcome;
    compilation.compiled = outcome.result && outcome.result->outcome == CompileOutcome::kCompiled;
    compilation.partial = compilation.compiled && outcome.reading_stopped();
    const CompileResult* result = outcome.result ? &*outcome.result : nullptr;
    // Made before the aggregate: made inside it, GCC 12 takes the names'
    // strings for "maybe uninitialized" on the path where one throws.
    LineStarts line_starts(outcome.line_text);
    LineStarts train_starts(outcome.train_text);
    const FaultSources texts{
        {sources.line_path, sources.train_path, {}, {}}, std::move(line_starts), std::move(train_starts)};
    for (const Diagnostic& d : outcome.diagnostics) {
        if (d.severity == Severity::kNote && !compilation.faults.empty()) {
            compilation.faults.back().notes.push_back(preview_fault(d, result, texts));
        } else {
            compilation.faults.push_back(preview_fault(d, result, texts));
        }
    }
    return compilation;
}

std::optional<PagePoint> plan_point_of(const PreviewCompilation& compilation, const PreviewDrawing& drawing,
                                       double position_m) {
    const Grid& grid = compilation.result().grid;
    const double metre = std::nearbyint(position_m);
    if (!(metre >= 0) || metre >= static_cast<double>(grid.computed_metres)) return std::nullopt;
    const auto at = static_cast<std::size_t>(metre);
    if (at >= grid.x.size() || at >= grid.y.size()) return std::nullopt;
    return drawing.plot.plan_mapping.page({grid.x[at], grid.y[at]});
}

PreviewDrawing draw_for_preview(const PreviewCompilation& compilation, const TrainModelChoice& model) {
    const CompileResult& result = compilation.result();
    PreviewDrawing drawing;
    const RunDrawing run{.driving_curve = true, .time_distance_graph = true, .model = model};
    drawing.plan = sample_plan_for_page(result.grid, result.stations);
    drawing.plot = plot_scenario(result.cells, result.stations, drawing.plan, run);
    drawing.axis = {plotting::kProfileX0, plotting::kProfileX1,      drawing.plot.profile_end_m,
                    plotting::kPageWidth, plotting::kStationBandTop, plotting::kAxisY + 14};
    return drawing;
}

}  // namespace scenariogen
