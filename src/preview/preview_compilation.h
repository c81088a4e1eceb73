// One compilation of an author's two description files for the preview:
// the records, every fault in the form the page lists it, and the drawing.
// Nothing here writes a file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/compile.h"
#include "pipeline/pipeline.h"
#include "views/plot/scenario_plot.h"

namespace scenariogen {

struct PreviewSources {
    std::string line_path;
    std::string train_path;
    std::string scenario_name;
    std::string train_number;
};

// A diagnostic as the page lists it.
struct PreviewFault {
    std::string text;      // FILE:LINE:COLUMN: error N: sentence [name], as compile prints it
    std::string severity;  // "error", "warning" or "note"
    std::string file;      // as named on the command line; empty: a fault of no file
    int line = 0;          // 0: no line
    int column = 0;
    std::int32_t number = 0;                 // the compiler's error number, 0: none
    std::string name;                        // the check's name, empty: none
    std::optional<std::int32_t> position_m;  // where on the route, when the fault or its line tells
    std::string source_line;                 // the line of the file, for the caret display
    std::vector<PreviewFault> notes;         // the other lines involved
};

struct PreviewCompilation {
    // False when there is nothing to draw: a text was refused, the reading
    // stopped before the route had cells, or the header slots were taken
    // (errors 1250, 1251).
    bool compiled = false;
    PipelineOutcome outcome;           // the same outcome as compile's for the same files
    std::vector<PreviewFault> faults;  // every diagnostic, with its notes
    // A file that could not be read at all (missing, unreadable); the
    // compilation is then not attempted.
    std::string unreadable;
    // The compilation's reading stopped at a fault: the drawing shows the
    // route only as far as it was read.
    bool partial = false;

    const CompileResult& result() const { return *outcome.result; }
    // Nothing stands in the way of writing the binary files: what compile
    // would write.
    bool clean() const { return unreadable.empty() && compiled && !outcome.has_errors(); }
};

// Reads both files (never more than compile() takes) and runs them through
// the pipeline, in memory.
PreviewCompilation compile_for_preview(const PreviewSources& sources);

// Where the profile's distance axis lies on the drawing: metre 0 at x0,
// metre `end_m` at x1, in the drawing's own units; the profile with its
// names and axes takes the page's width from `top` to `bottom`.
struct ProfileAxis {
    double x0 = 0;
    double x1 = 0;
    std::int32_t end_m = 0;
    double width = 0;
    double top = 0;
    double bottom = 0;
};

struct PreviewDrawing {
    ScenarioPlot plot;
    ProfileAxis axis;
    PlanSample plan;  // the plan's sample the page was drawn from, for its stretches
};

// Where metre `position_m` of the route (rounded to the nearest) is drawn on
// the plan; none when the plan was not computed that far.
std::optional<PagePoint> plan_point_of(const PreviewCompilation& compilation, const PreviewDrawing& drawing,
                                       double position_m);

// Draws the page of a compilation that has cells as `plot --graph` draws
// it: the plan, the profile with the model's fastest run, the legend and
// the time-distance graph; the model from `model` and the train's own
// braked-mass percentage.
PreviewDrawing draw_for_preview(const PreviewCompilation& compilation, const TrainModelChoice& model = {});

}  // namespace scenariogen
