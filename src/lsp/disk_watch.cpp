#include "lsp/disk_watch.h"

#include <chrono>
#include <filesystem>

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

// Waits for a change and for the writes that follow it to settle; false
// when the watch was stopped.
bool settled_change(FileWatch& watch) {
    WatchEvent event = WatchEvent::kTimedOut;
    while (event == WatchEvent::kTimedOut) event = watch.wait(kIdleWait);
    const auto deadline = std::chrono::steady_clock::now() + kLongestWait;
    while (event != WatchEvent::kStopped && event != WatchEvent::kTimedOut &&
           std::chrono::steady_clock::now() < deadline) {
        event = watch.wait(kQuiet);
    }
    return event != WatchEvent::kStopped;
}

// The system watches files in folders that exist; a partner in a folder
// that does not is left out (it is read again at the next open or save).
std::unique_ptr<FileWatch> watch_of(const std::vector<std::string>& paths) {
    std::vector<std::string> watchable;
    for (const std::string& path : paths) {
        std::error_code error;
        // The program's paths are UTF-8 on every system.
        const auto folder = std::filesystem::path(std::u8string(path.begin(), path.end())).parent_path();
        if (folder.empty() || std::filesystem::is_directory(folder, error)) watchable.push_back(path);
    }
    return watchable.empty() ? nullptr : watch_files(watchable);
}

}  // namespace

void DiskWatch::watch(const std::vector<std::string>& paths) {
    {
        const std::lock_guard lock(mutex_);
        if (paths == paths_) return;
    }
    stop();
    const std::lock_guard lock(mutex_);
    paths_ = paths;
    watch_ = watch_of(paths_);
    if (!watch_) return;
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
}

void DiskWatch::stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        if (watch_) watch_->stop();
    }
    if (thread_.joinable()) thread_.join();
    const std::lock_guard lock(mutex_);
    watch_.reset();
}

void DiskWatch::run() {
    try {
        for (;;) {
            FileWatch* current = nullptr;
            {
                const std::lock_guard lock(mutex_);
                current = watch_.get();
            }
            if (!settled_change(*current)) return;
            if (!rewatch(changed_())) return;
        }
    } catch (const FileError&) {
        // The system stopped telling changes: the files are read again at
        // the next open or save, as without a watch.
    }
}

bool DiskWatch::rewatch(const std::vector<std::string>& paths) {
    {
        const std::lock_guard lock(mutex_);
        if (stopping_) return false;
        if (paths == paths_) return true;
    }
    std::unique_ptr<FileWatch> replaced = watch_of(paths);
    const std::lock_guard lock(mutex_);
    paths_ = paths;
    if (stopping_ || !replaced) return false;
    std::swap(watch_, replaced);
    return true;
}

}  // namespace scenariogen::lsp
