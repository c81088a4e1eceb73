// The partner files on disk, watched on a thread of its own while the
// editor holds their partners open. The call it is given runs on that thread
// once the files have settled after a change, and names the files to watch
// from then on (a change may pair a file anew).
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_watch.h"

namespace scenariogen::lsp {

class DiskWatch {
public:
    using Changed = std::function<std::vector<std::string>()>;

    explicit DiskWatch(Changed changed) : changed_(std::move(changed)) {}
    ~DiskWatch() { stop(); }
    DiskWatch(const DiskWatch&) = delete;
    DiskWatch& operator=(const DiskWatch&) = delete;

    // Watches `paths` from now on (those whose folder exists), none for an
    // empty list; nothing changes when they are the ones watched. Throws
    // FileError when a folder cannot be watched: nothing is watched then,
    // until other paths are given.
    void watch(const std::vector<std::string>& paths);

private:
    void stop();
    void run();
    // On the watch's thread: watches `paths` instead. False when the watch
    // is stopping or the paths cannot be watched.
    bool rewatch(const std::vector<std::string>& paths);

    Changed changed_;
    std::mutex mutex_;  // guards what follows, shared with the watch's thread
    std::vector<std::string> paths_;
    std::unique_ptr<FileWatch> watch_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace scenariogen::lsp
