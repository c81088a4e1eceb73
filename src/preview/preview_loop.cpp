#include "preview/preview_loop.h"

namespace scenariogen {

namespace {

using Clock = std::chrono::steady_clock;

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

void run_preview_loop(PreviewSession& session, FileWatch& watch, PreviewTiming timing) {
    session.recompile();
    for (;;) {
        const WatchEvent event = watch.wait(std::chrono::hours(1));
        if (event == WatchEvent::kStopped) return;
        if (event == WatchEvent::kTimedOut) continue;
        if (!settle(watch, timing, event)) return;
        session.recompile();
    }
}

}  // namespace scenariogen
