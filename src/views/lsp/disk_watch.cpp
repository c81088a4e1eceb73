#include "views/lsp/disk_watch.h"

#include <chrono>

#include "platform/file_system.h"

namespace scenariogen::lsp {

namespace {

using std::chrono::milliseconds;

// A change is told once no other has followed it for this long, so that a
// file written in pieces is read once, whole.
constexpr milliseconds kQuiet{40};
// Nor is a change held back longer than this by a file written on and on.
constexpr milliseconds kLongestWait{500};
constexpr milliseconds kIdleWait{60 * 60 * 1000};

}  // namespace

void DiskWatch::watch(const std::vector<std::string>& paths) {
    if (paths == paths_) return;
    stop();
    paths_ = paths;
    if (paths_.empty()) return;
    watch_ = watch_files(paths_);
    thread_ = std::thread([this, &watch = *watch_] { run(watch); });
}

void DiskWatch::stop() {
    if (watch_) watch_->stop();
    if (thread_.joinable()) thread_.join();
    watch_.reset();
}

void DiskWatch::run(FileWatch& watch) {
    try {
        for (;;) {
            WatchEvent event = watch.wait(kIdleWait);
            if (event == WatchEvent::kStopped) return;
            if (event == WatchEvent::kTimedOut) continue;
            const auto deadline = std::chrono::steady_clock::now() + kLongestWait;
            while (event != WatchEvent::kTimedOut && std::chrono::steady_clock::now() < deadline) {
                event = watch.wait(kQuiet);
                if (event == WatchEvent::kStopped) return;
            }
            changed_();
        }
    } catch (const FileError&) {
        // The system stopped telling changes: the files are read again at
        // the next open or save, as without a watch.
    }
}

}  // namespace scenariogen::lsp
