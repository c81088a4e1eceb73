#include "preview/preview_loop.h"

#include <cstdio>

#include "preview/preview_state.h"

namespace scenariogen {

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
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

// After the change `first`: takes in the changes already queued, and waits
// while a file is still being written, until it is complete, quiet for the
// settle time, or the longest settle has passed. False when the watch was
// stopped.
bool settle(FileWatch& watch, const PreviewTiming& timing, WatchEvent first) {
    const auto give_up = Clock::now() + timing.longest_settle;
    WatchEvent last = first;
    for (;;) {
        const auto quiet = last == WatchEvent::kChanging ? timing.settle : std::chrono::milliseconds(0);
        const WatchEvent event = watch.wait(quiet);
        if (event == WatchEvent::kStopped) return false;
        if (event == WatchEvent::kTimedOut || Clock::now() >= give_up) return true;
        last = event;
    }
}

}  // namespace

void preview_once(const PreviewSources& sources, std::uint64_t generation, const PreviewSinks& sinks) {
    const auto start = Clock::now();
    PreviewState state;
    PreviewCompilation compilation;
    try {
        compilation = compile_for_preview(sources);
    } catch (const std::exception& failure) {
        // A slip of the program's own (an internal error): said on the page, and the next save tries again.
        state.drawing_failure = std::string("the compilation failed: ") + failure.what();
    }
    state.generation = generation;
    state.line_file = sources.line_path;
    state.train_file = sources.train_path;
    state.compilation = &compilation;
    std::optional<PreviewDrawing> drawing;
    if (compilation.compiled) {
        try {
            drawing = draw_for_preview(compilation);
            state.drawing = &*drawing;
        } catch (const std::exception& failure) {
            state.drawing_failure = failure.what();
        }
    }
    state.compile_ms = milliseconds_since(start);
    sinks.publish(state_json(state));
    if (sinks.report) sinks.report(summary(state));
    if (compilation.clean() && sinks.on_clean) {
        sinks.on_clean(compilation);
    }
}

void run_preview_loop(const PreviewSources& sources, FileWatch& watch, const PreviewSinks& sinks,
                      PreviewTiming timing) {
    std::uint64_t generation = 0;
    preview_once(sources, ++generation, sinks);
    for (;;) {
        const WatchEvent event = watch.wait(std::chrono::hours(1));
        if (event == WatchEvent::kStopped) return;
        if (event == WatchEvent::kTimedOut) continue;
        if (!settle(watch, timing, event)) return;
        preview_once(sources, ++generation, sinks);
    }
}

}  // namespace scenariogen
