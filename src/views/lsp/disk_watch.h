// The partner files on disk, watched on a thread of its own while the
// editor holds their partners open: the call it is given runs on that
// thread once the files have settled after a change.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_watch.h"

namespace scenariogen::lsp {

class DiskWatch {
public:
    explicit DiskWatch(std::function<void()> changed) : changed_(std::move(changed)) {}
    ~DiskWatch() { stop(); }
    DiskWatch(const DiskWatch&) = delete;
    DiskWatch& operator=(const DiskWatch&) = delete;

    // Watches `paths` from now on, none for an empty list; nothing changes
    // when they are the ones watched. Throws FileError when a folder cannot
    // be watched: nothing is watched then, until other paths are given.
    // Never call it from `changed`.
    void watch(const std::vector<std::string>& paths);

private:
    void stop();
    void run(FileWatch& watch);

    std::function<void()> changed_;
    std::vector<std::string> paths_;
    std::unique_ptr<FileWatch> watch_;
    std::thread thread_;
};

}  // namespace scenariogen::lsp
