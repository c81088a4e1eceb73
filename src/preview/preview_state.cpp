#include "preview/preview_state.h"

#include <nlohmann/json.hpp>

#include "preview/editor_link.h"
#include "preview/train_position.h"
#include "views/plot/page_export.h"
#include "views/timetable/timetable_report.h"

namespace scenariogen {

namespace {

using nlohmann::json;

// Where metre `m` of the route is drawn on the plan; none when the plan
// was not computed that far.
json plan_point(const PreviewState& state, std::int32_t m) {
    if (state.drawing == nullptr) return nullptr;
    const std::optional<PagePoint> point = plan_point_of(*state.compilation, *state.drawing, m);
    return point ? json{{"x", point->x}, {"y", point->y}} : json();
}

json fault_json(const PreviewFault& fault, const PreviewState& state) {
    json out{{"text", fault.text},    {"severity", fault.severity}, {"file", fault.file},
             {"line", fault.line},    {"column", fault.column},     {"number", fault.number},
             {"name", fault.name},    {"position_m", nullptr},      {"source_line", fault.source_line},
             {"notes", json::array()}};
    out["plan_point"] = nullptr;
    out["graph_y"] = nullptr;
    out["link"] = nullptr;
    if (!state.editor_url.empty() && fault.line > 0 && !fault.file.empty()) {
        const std::string& path = fault.file == state.line_file ? state.line_absolute : state.train_absolute;
        out["link"] = editor_link(state.editor_url, path, fault.line, fault.column);
    }
    if (fault.position_m) {
        out["position_m"] = *fault.position_m;
        out["plan_point"] = plan_point(state, *fault.position_m);
        const std::optional<double> graph_y =
            state.drawing != nullptr ? graph_y_of(*state.drawing, *fault.position_m) : std::nullopt;
        if (graph_y) out["graph_y"] = *graph_y;
    }
    for (const PreviewFault& note : fault.notes) out["notes"].push_back(fault_json(note, state));
    return out;
}

std::size_t mountain_stretches(const std::vector<Cell>& cells) {
    std::size_t stretches = 0;
    for (std::size_t i = 1; i < cells.size(); ++i) {
        stretches += cells[i].mountain_kind != 0 && cells[i].mountain_kind != cells[i - 1].mountain_kind;
    }
    return stretches;
}

// The figures an author checks after a save: the length, the stations with
// their times, and how many objects of each kind the route holds.
json figures_json(const PreviewCompilation& compilation, const ScenarioPlot& plot) {
    std::size_t signals = 0, boards = 0, signs = 0, slowdowns = 0, code_drops = 0;
    for (const PlottedMark& mark : plot.marks) {
        signals += mark.kind == kSignal;
        boards += mark.kind == kSpeedBoard;
        signs += mark.kind == kSign;
        slowdowns += mark.kind == kSlowdownStart;
        code_drops += mark.kind == kCodeDrop || mark.kind == kCodeDropWithoutValue;
    }
    json stations = json::array();
    for (const PlottedStation& station : plot.stations) {
        stations.push_back({{"name", station.name}, {"position_m", station.position_m}, {"times", station.times}});
    }
    return {{"length_m", plot.route_length_m},
            {"cells", compilation.result().last_cell()},
            {"stations", std::move(stations)},
            {"signals", signals},
            {"speed_boards", boards},
            {"sign_boards", signs},
            {"slowdowns", slowdowns},
            {"code_drops", code_drops},
            {"mountain_stretches", mountain_stretches(compilation.result().cells)}};
}

json optional_number(const std::optional<double>& value) { return value ? json(*value) : json(); }

json model_json(const PreviewState& state) {
    json out{{"acceleration", optional_number(state.model.acceleration)},
             {"braking", optional_number(state.model.braking)},
             {"max_speed", optional_number(state.model.max_speed_kmh)},
             {"summary", nullptr},
             {"run_left_out", false}};
    if (state.drawing == nullptr) return out;
    const ScenarioPlot& plot = state.drawing->plot;
    if (plot.timetable) out["summary"] = model_summary(plot.timetable->model);
    out["run_left_out"] = plot.run_left_out;
    return out;
}

// The running-time table as `check` prints it ("rows": the heads, then one
// row per leg), and for each leg the sentence that says why it cannot be
// kept, or null ("problems").
json timetable_of(const PreviewState& state) {
    if (state.drawing == nullptr || !state.drawing->plot.timetable) return nullptr;
    const TimetableCheck& check = *state.drawing->plot.timetable;
    json problems = json::array();
    for (const LegCheck& leg : check.legs) {
        const std::optional<std::string> problem = leg_problem(check, leg);
        problems.push_back(problem ? json(*problem) : json());
    }
    return {{"rows", timetable_rows(check)}, {"problems", std::move(problems)}};
}

json piece_json(const PieceNode& node) {
    if (node.open_tag.empty()) return {{"k", node.key}};
    json children = json::array();
    for (const PieceNode& child : node.children) children.push_back(piece_json(child));
    return {{"k", node.key}, {"g", node.open_tag}, {"c", std::move(children)}};
}

json drawing_json(const DrawingPieces& pieces) {
    json groups = json::object();
    for (const auto& [id, node] : pieces.groups) groups[id] = piece_json(node);
    return {{"font", pieces.font_family}, {"groups", std::move(groups)}};
}

json export_formats() {
    json formats{"svg"};
    if (page_rendering_unavailable().empty()) {
        formats.push_back("png");
        formats.push_back("pdf");
    }
    return formats;
}

json state_document(const PreviewState& state) {
    json faults = json::array();
    json out{{"generation", state.generation},
             {"files", {{"line", state.line_file}, {"train", state.train_file}}},
             {"unreadable", nullptr},
             {"drawing_failure", nullptr},
             {"partial", false},
             {"figures", nullptr},
             {"drawing", nullptr},
             {"clock", nullptr},
             {"axis", nullptr},
             {"title", {{"scenario", state.scenario_name}, {"train", state.train_number}}},
             {"compile_ms", state.compile_ms}};
    if (state.compilation != nullptr) {
        if (!state.compilation->unreadable.empty()) out["unreadable"] = state.compilation->unreadable;
        for (const PreviewFault& fault : state.compilation->faults) faults.push_back(fault_json(fault, state));
        out["partial"] = state.compilation->partial;
    }
    out["faults"] = std::move(faults);
    if (!state.drawing_failure.empty()) out["drawing_failure"] = state.drawing_failure;
    if (state.drawing != nullptr && state.compilation != nullptr) {
        const PreviewDrawing& drawing = *state.drawing;
        out["figures"] = figures_json(*state.compilation, drawing.plot);
        if (const std::optional<SliderClock> clock = slider_clock(drawing)) {
            out["clock"] = {{"first_s", clock->first_s}, {"last_s", clock->last_s}};
        }
        if (state.pieces != nullptr) out["drawing"] = drawing_json(*state.pieces);
        const ProfileAxis& axis = drawing.axis;
        out["axis"] = {{"x0", axis.x0},       {"x1", axis.x1},   {"end_m", axis.end_m},
                       {"width", axis.width}, {"top", axis.top}, {"bottom", axis.bottom}};
    }
    out["model"] = model_json(state);
    out["timetable"] = timetable_of(state);
    out["exports"] = export_formats();
    return out;
}

// Text from the files that is not UTF-8 (Windows-1252 names) is replaced, never refused.
std::string json_text(const json& value) { return value.dump(-1, ' ', false, json::error_handler_t::replace); }

}  // namespace

std::string state_json(const PreviewState& state) { return json_text(state_document(state)); }

std::string state_event_json(const PreviewState& state, std::unordered_map<std::string, std::string>& texts,
                             const std::unordered_map<std::string, std::string>& previous) {
    json out = state_document(state);
    json parts = json::object();
    for (const char* name : kStateParts) {
        std::string text = json_text(out[name]);
        std::string key = piece_key(text);
        texts.try_emplace(key, std::move(text));
        parts[name] = std::move(key);
        out.erase(name);
    }
    out["parts"] = std::move(parts);
    json fresh = json::object();
    std::size_t bytes = 0;
    for (const auto& [key, text] : texts) {
        if (previous.contains(key)) continue;
        bytes += text.size();
        if (bytes > kEventTextBytes) break;
        fresh[key] = text;
    }
    if (bytes <= kEventTextBytes && !fresh.empty()) out["texts"] = std::move(fresh);
    return json_text(out);
}

}  // namespace scenariogen
