// The preview's work: compile the two files, draw them, hand the state to
// the page; then again after every change, until the watch is stopped.
#pragma once

#include <chrono>

#include "platform/file_watch.h"
#include "preview/preview_session.h"

namespace scenariogen {

// A save that the system tells complete (the file closed, or renamed into
// place) is compiled at once. A file still open for writing is compiled once
// its writer closes it, or pauses for `settle`, so that an editor that writes
// in several steps is compiled once, after its last.
struct PreviewTiming {
    std::chrono::milliseconds settle{30};
    // A file that keeps changing is compiled at least this often.
    std::chrono::milliseconds longest_settle{200};
};

// Compiles once, then after every change, until `watch` is stopped.
void run_preview_loop(PreviewSession& session, FileWatch& watch, PreviewTiming timing = {});

}  // namespace scenariogen
