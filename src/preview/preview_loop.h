// The preview's work: compile the two files, draw them, hand the state to
// the page; then again after every change, until the watch is stopped.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "platform/file_watch.h"
#include "preview/preview_compilation.h"

namespace scenariogen {

struct PreviewSinks {
    std::function<void(std::string state_json)> publish;
    // After each compilation without an error: what compile would write may be written.
    std::function<void(const PreviewCompilation&)> on_clean;
    // One line for the author's terminal about each compilation.
    std::function<void(const std::string& line)> report;
};

// A save that the system tells complete (the file closed, or renamed into
// place) is compiled at once. A file still open for writing is compiled once
// its writer closes it, or pauses for `settle`, so that an editor that writes
// in several steps is compiled once, after its last.
struct PreviewTiming {
    std::chrono::milliseconds settle{30};
    // A file that keeps changing is compiled at least this often.
    std::chrono::milliseconds longest_settle{200};
};

// Runs until `watch` is stopped.
void run_preview_loop(const PreviewSources& sources, FileWatch& watch, const PreviewSinks& sinks,
                      PreviewTiming timing = {});

// One compilation and its drawing, published as the page's document
// numbered `generation`; then reported, and handed to on_clean when clean.
void preview_once(const PreviewSources& sources, std::uint64_t generation, const PreviewSinks& sinks);

}  // namespace scenariogen
