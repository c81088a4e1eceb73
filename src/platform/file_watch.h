// Change notification for a few files: a caller blocks in wait() until one
// of them may have changed (written, truncated, created, deleted, or renamed
// over), and another thread may end the wait with stop(). Each system gets
// the best notification it has; polling serves where none fits.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace scenariogen {

enum class WatchEvent {
    kChanged,   // one of the files changed, and as far as the system tells, the change is complete
    kChanging,  // one of the files is being written: it is still open for writing, more may follow
    kTimedOut,  // nothing happened within the timeout
    kStopped,   // stop() was called; every later wait returns this at once
};

class FileWatch {
public:
    virtual ~FileWatch() = default;

    // Blocks until a change, the timeout or stop(). Changes that happened
    // between two waits are reported by the second; of several, the last
    // tells whether the file is complete. Polling reports kChanged only.
    virtual WatchEvent wait(std::chrono::milliseconds timeout) = 0;

    // Ends the current and every later wait; safe from any thread.
    virtual void stop() = 0;
};

// Watches `paths` with the system's notification (inotify on Linux, which
// watches each file's folder, so that a file replaced by a rename is still
// seen, and which tells a file closed after writing from one still being
// written), or by polling where the system has none. A file need not exist;
// its folder must. Throws FileError when a folder cannot be watched.
std::unique_ptr<FileWatch> watch_files(const std::vector<std::string>& paths);

// Watches `paths` by comparing their size, time of last change and identity
// every `interval`. Works on every system.
std::unique_ptr<FileWatch> poll_files(const std::vector<std::string>& paths, std::chrono::milliseconds interval);

}  // namespace scenariogen
