#include "preview/preview_session.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "preview/editor_link.h"
#include "preview/model_query.h"
#include "preview/preview_state.h"
#include "preview/train_position.h"
#include "views/plot/page_export.h"

namespace scenariogen {

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The file's absolute path for the editor's link; as given when the system
// cannot tell.
std::string absolute_path(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

std::string summary(const PreviewState& state) {
    const PreviewCompilation& compilation = *state.compilation;
    char time[32];
    std::snprintf(time, sizeof time, "%.1f ms", state.compile_ms);
    std::string line = "compilation " + std::to_string(state.generation) + " (" + time + "): ";
    if (!compilation.unreadable.empty()) return line + compilation.unreadable;
    std::size_t errors = 0, warnings = 0;
    for (const PreviewFault& fault : compilation.faults) {
        errors += fault.severity == "error";
        warnings += fault.severity == "warning";
    }
    line += std::to_string(errors) + (errors == 1 ? " error, " : " errors, ") + std::to_string(warnings) +
            (warnings == 1 ? " warning" : " warnings");
    if (!compilation.faults.empty()) line += "; the first: " + compilation.faults.front().text;
    if (compilation.partial) line += "; the drawing stops where the reading stopped";
    if (!state.drawing_failure.empty()) line += "; no drawing: " + state.drawing_failure;
    return line;
}

struct FormatName {
    std::string_view name;
    PageFormat format;
    std::string_view content_type;
};

constexpr FormatName kFormats[] = {
    {"svg", PageFormat::kSvg, "image/svg+xml"},
    {"png", PageFormat::kPng, "image/png"},
    {"pdf", PageFormat::kPdf, "application/pdf"},
};

std::optional<double> finite_number(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

PreviewSession::PreviewSession(PreviewSources sources, PreviewSinks sinks, PreviewSettings settings)
    : sources_(std::move(sources)), sinks_(std::move(sinks)), settings_(std::move(settings)) {
    line_absolute_ = absolute_path(sources_.line_path);
    train_absolute_ = absolute_path(sources_.train_path);
}

void PreviewSession::recompile() {
    const auto start = Clock::now();
    auto compilation = std::make_shared<PreviewCompilation>();
    std::string failure;
    try {
        *compilation = compile_for_preview(sources_);
    } catch (const std::exception& slip) {
        // A slip of the program's own (an internal error): said on the page, and the next save tries again.
        failure = std::string("the compilation failed: ") + slip.what();
    }
    const std::lock_guard lock(mutex_);
    compilation_ = std::move(compilation);
    failure_ = std::move(failure);
    draw_and_publish(milliseconds_since(start), true);
    if (compilation_->clean() && sinks_.on_clean) sinks_.on_clean(*compilation_);
}

// Draws the latest compilation with the model's values chosen and publishes
// its state; the mutex is held.
void PreviewSession::draw_and_publish(double compile_ms, bool report) {
    const auto start = Clock::now();
    drawing_.reset();
    std::string failure = failure_;
    if (compilation_->compiled) {
        try {
            drawing_ = draw_for_preview(*compilation_, settings_.model);
        } catch (const std::exception& slip) {
            failure = slip.what();
        }
    }
    previous_texts_ = std::move(pieces_.texts);
    pieces_ = drawing_ ? cut_drawing(drawing_->plot.svg) : DrawingPieces{};
    PreviewState state;
    state.generation = ++generation_;
    state.line_file = sources_.line_path;
    state.train_file = sources_.train_path;
    state.compilation = compilation_.get();
    state.drawing = drawing_ ? &*drawing_ : nullptr;
    state.pieces = drawing_ ? &pieces_ : nullptr;
    state.drawing_failure = failure;
    state.compile_ms = compile_ms + milliseconds_since(start);
    state.scenario_name = sources_.scenario_name;
    state.train_number = sources_.train_number;
    state.model = settings_.model;
    state.editor_url = settings_.editor_url;
    state.line_absolute = line_absolute_;
    state.train_absolute = train_absolute_;
    std::string event = state_event_json(state, pieces_.texts, previous_texts_);
    sinks_.publish({state_json(state), std::move(event)});
    if (report && sinks_.report) sinks_.report(summary(state));
}

std::string PreviewSession::choose_model(std::string_view query) {
    auto choice = read_model_query(query);
    if (const std::string* refusal = std::get_if<std::string>(&choice)) return *refusal;
    const std::lock_guard lock(mutex_);
    settings_.model = std::get<TrainModelChoice>(choice);
    if (compilation_) draw_and_publish(0, false);
    return {};
}

std::variant<PageDownload, std::string> PreviewSession::download(std::string_view query) {
    const std::string name = query_value(query, "format");
    const FormatName* format = nullptr;
    for (const FormatName& known : kFormats) {
        if (known.name == name) format = &known;
    }
    if (format == nullptr) return std::string("give format=svg, png or pdf");
    if (format->format != PageFormat::kSvg && !page_rendering_unavailable().empty()) {
        return page_rendering_unavailable();
    }
    const std::lock_guard lock(mutex_);
    if (!drawing_) return std::string("there is no drawing to export");
    PageDownload download;
    try {
        download.bytes = page_bytes(drawing_->plot.svg, drawing_->plot.pages, format->format, 150);
    } catch (const PageRenderError& failure) {
        return std::string("the page could not be rendered: ") + failure.what();
    }
    download.content_type = format->content_type;
    download.file_name = sources_.scenario_name + "_" + sources_.train_number + "." + std::string(format->name);
    return download;
}

std::variant<ProfileStretch, std::string> PreviewSession::profile_window(std::string_view query) {
    const std::optional<double> from = finite_number(query_value(query, "from_m"));
    const std::optional<double> to = finite_number(query_value(query, "to_m"));
    if (!from || !to || !(*to > *from))
        return std::string("give from_m and to_m, metres along the route, from_m < to_m");
    const std::lock_guard lock(mutex_);
    if (!drawing_ || !compilation_) return std::string("there is no drawing");
    const CompileResult& result = compilation_->result();
    std::string svg;
    try {
        svg =
            plot_profile_window(result.cells, result.stations, drawing_->plan, drawing_->plot.timetable, {*from, *to});
    } catch (const std::exception& slip) {
        return std::string("the stretch could not be drawn: ") + slip.what();
    }
    const nlohmann::json answer{{"generation", generation_}, {"from_m", *from}, {"to_m", *to}, {"svg", svg}};
    return ProfileStretch{answer.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)};
}

}  // namespace scenariogen

namespace scenariogen {

std::string PreviewSession::piece_texts(std::string_view query) {
    const std::string keys = query_value(query, "keys");
    nlohmann::json answer = nlohmann::json::object();
    const std::lock_guard lock(mutex_);
    if (keys.empty()) {
        for (const auto& [key, text] : pieces_.texts) answer[key] = text;
    }
    for (std::size_t from = 0; from < keys.size();) {
        const std::size_t comma = std::min(keys.find(',', from), keys.size());
        const std::string key = keys.substr(from, comma - from);
        if (const auto found = pieces_.texts.find(key); found != pieces_.texts.end()) {
            answer[key] = found->second;
        } else if (const auto before = previous_texts_.find(key); before != previous_texts_.end()) {
            answer[key] = before->second;
        }
        from = comma + 1;
    }
    return answer.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace scenariogen

namespace scenariogen {

std::variant<TrainPosition, std::string> PreviewSession::train_position(std::string_view query) {
    const std::optional<double> clock = finite_number(query_value(query, "clock_s"));
    if (!clock) return std::string("give clock_s, seconds since midnight");
    const std::lock_guard lock(mutex_);
    if (!drawing_ || !compilation_) return std::string("there is no drawing");
    std::optional<std::string> answer = train_position_json(*compilation_, *drawing_, *clock);
    if (!answer) return std::string("the drawing has no fastest run along a timetable");
    return TrainPosition{std::move(*answer)};
}

}  // namespace scenariogen
