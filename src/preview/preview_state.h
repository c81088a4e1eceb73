// What the page shows of one compilation, as the JSON document sent to it:
// the drawing, the faults and the figures an author checks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "preview/drawing_pieces.h"
#include "preview/preview_compilation.h"
#include "timetable/train_model.h"

namespace scenariogen {

struct PreviewState {
    std::uint64_t generation = 0;  // 1 for the first compilation, then one more for each
    std::string line_file;         // as named on the command line
    std::string train_file;
    const PreviewCompilation* compilation = nullptr;
    const PreviewDrawing* drawing = nullptr;  // none: nothing to draw
    const DrawingPieces* pieces = nullptr;    // the drawing cut for the page; with `drawing`
    std::string drawing_failure;              // why there is no drawing although the route has cells
    double compile_ms = 0;                    // the compilation and the drawing
    std::string scenario_name;                // as the files are named
    std::string train_number;
    TrainModelChoice model;  // the model's values chosen; the rest are its own
    // Each fault's link to the editor: the template (none: no links) and
    // the files' absolute paths.
    std::string editor_url;
    std::string line_absolute;
    std::string train_absolute;
};

// The page's document:
//   {"generation", "files": {"line", "train"}, "unreadable", "partial",
//    "faults": [{"text", "severity", "file", "line", "column", "number", "name", "position_m",
//    "plan_point": {"x", "y"} or null, "graph_y" (its place down the time-distance graph) or null, "source_line",
//    "link" or null, "notes": [...]}],
//    "figures": {...} or null, "drawing": {"font", "groups": {ID: NODE}} or null, "axis": {"x0", "x1", "end_m",
//    "width", "top", "bottom"} or null, "title": {"scenario", "train"}, "model": {"acceleration", "braking",
//    "max_speed" (chosen or null), "summary" or null, "run_left_out"}, "timetable": {"rows", "problems"} or null,
//    "exports": ["svg", "png", "pdf"], "compile_ms",
//    "clock": {"first_s", "last_s"} or null (the time slider's span, see train_position.h)}
// where a NODE of the drawing is {"k": KEY} for a run of elements (its text
// from /pieces) or {"k": KEY, "g": START TAG, "c": [NODE...]} for a group
// cut into its children (see drawing_pieces.h).
std::string state_json(const PreviewState& state);

// The members of the document an open page is sent apart, and only when
// they changed: what a save changes least often and weighs most.
inline constexpr const char* kStateParts[] = {"faults", "figures", "timetable"};

// The pieces whose text comes with the event when together they are no
// longer than this: what a save changed, saving the page a request.
inline constexpr std::size_t kEventTextBytes = 64 * 1024;

// The document as an open page receives it: the members of kStateParts
// replaced by the keys of their JSON text, in "parts": {"faults": KEY, ...};
// `texts` gets each part's text by its key (see drawing_pieces.h), which the
// page asks for when it does not hold it. The texts of `texts` that are not
// in `previous` (the state before) come along in "texts": {KEY: TEXT} when
// they fit in kEventTextBytes.
std::string state_event_json(const PreviewState& state, std::unordered_map<std::string, std::string>& texts,
                             const std::unordered_map<std::string, std::string>& previous = {});

}  // namespace scenariogen
