#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/interruption.h"
#include "platform/temporary_files.h"

namespace scenariogen {

namespace {

// flock() on the folder's own descriptor: nothing is created, and the lock
// goes with the last descriptor of the open folder, at the latest when the
// process ends.
bool lock(int descriptor, bool wait, const std::string& folder) {
    while (::flock(descriptor, LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) {
        if (errno == EINTR) continue;
        if (errno == EWOULDBLOCK) return false;
        // No locks on this file system (some network file systems): nothing to wait for.
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EBADF) return true;
        throw FileError(folder, std::strerror(errno));
    }
    return true;
}

}  // namespace

FolderLock::FolderLock(const std::string& folder, Wait wait, const std::function<void()>& waiting) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) throw FileError(folder, std::strerror(errno));
    FolderLock opened(descriptor);  // closes the folder again should the locking fail
    if (!lock(descriptor, false, folder)) {
        if (wait == Wait::kNo) throw FolderBusy(folder, "another scenariogen run is writing into this folder");
        if (waiting) waiting();
        lock(descriptor, true, folder);
    }
    handle_ = std::exchange(opened.handle_, -1);
    interruption_point();
    remove_abandoned_temporary_files(folder);
}

FolderLock::FolderLock(FolderLock&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

FolderLock::~FolderLock() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

}  // namespace scenariogen
