// One run at a time per output folder: the commands that write into a folder
// hold its lock for as long as they write, read back and delete there.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/file_system.h"

namespace scenariogen {

// The folder's lock is held by another process.
class FolderBusy : public FileError {
public:
    using FileError::FileError;
};

// An exclusive lock on a folder, held by one process at a time. It leaves no
// file behind, and the system releases it when the process ends, however it
// ends. Taking it also removes the temporary files that a killed process left
// in the folder.
class FolderLock {
public:
    enum class Wait { kUntilFree, kNo };

    // Locks `folder`. When another process holds the lock: with kNo, throws
    // FolderBusy; with kUntilFree, calls `waiting` once and blocks until the
    // lock is free. Throws FileError when the folder cannot be opened. On a
    // file system that has no locks, the folder is used unlocked.
    FolderLock(const std::string& folder, Wait wait, const std::function<void()>& waiting = {});
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&&) = delete;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

private:
    explicit FolderLock(std::intptr_t handle) : handle_(handle) {}

    std::intptr_t handle_ = -1;
};

}  // namespace scenariogen
