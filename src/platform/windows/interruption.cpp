#include "platform/interruption.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <cstring>
#include <stdexcept>

#include "platform/windows/wide_text.h"

namespace scenariogen {

namespace {

// The files to remove on an interruption. The console's control handler runs
// on a thread of its own and reaches no object of the program but this one;
// it takes the lock that deferred steps hold, so it never acts in the middle
// of one.
struct FilesInFlight {
    FilesInFlight() { ::InitializeCriticalSection(&lock); }
    CRITICAL_SECTION lock;
    std::array<std::atomic<const char*>, 64> paths{};
};

FilesInFlight& files_in_flight() {
    static FilesInFlight files;
    return files;
}

// The exit statuses of a POSIX shell for the signals that stand nearest.
int exit_status(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
            return 128 + 2;  // SIGINT
        case CTRL_BREAK_EVENT:
            return 128 + 21;  // SIGBREAK
        default:
            return 128 + 1;  // SIGHUP: the console closes, the user logs off
    }
}

BOOL WINAPI on_interruption(DWORD event) {
    FilesInFlight& files = files_in_flight();
    ::EnterCriticalSection(&files.lock);
    for (auto& slot : files.paths) {
        if (const char* path = slot.load()) {
            try {
                ::DeleteFileW(windows::widen(path).c_str());
            } catch (...) {
            }
        }
    }
    ::ExitProcess(static_cast<UINT>(exit_status(event)));
}

}  // namespace

void install_interruption_handlers() {
    files_in_flight();
    ::SetConsoleCtrlHandler(on_interruption, TRUE);
}

RemovedOnInterruption::RemovedOnInterruption(const std::string& path) : path_(new char[path.size() + 1]) {
    std::memcpy(path_.get(), path.c_str(), path.size() + 1);
    auto& paths = files_in_flight().paths;
    for (int slot = 0; slot < static_cast<int>(paths.size()); ++slot) {
        const char* free = nullptr;
        if (paths[static_cast<std::size_t>(slot)].compare_exchange_strong(free, path_.get())) {
            slot_ = slot;
            return;
        }
    }
    throw std::length_error("more files in flight than the interruption handler can hold");
}

RemovedOnInterruption::RemovedOnInterruption(RemovedOnInterruption&& other) noexcept
    : path_(std::move(other.path_)), slot_(other.slot_) {
    other.slot_ = -1;
}

RemovedOnInterruption& RemovedOnInterruption::operator=(RemovedOnInterruption&& other) noexcept {
    if (this != &other) {
        release();
        path_ = std::move(other.path_);
        slot_ = other.slot_;
        other.slot_ = -1;
    }
    return *this;
}

RemovedOnInterruption::~RemovedOnInterruption() { release(); }

void RemovedOnInterruption::release() noexcept {
    if (slot_ >= 0) files_in_flight().paths[static_cast<std::size_t>(slot_)].store(nullptr);
    slot_ = -1;
}

InterruptionsDeferred::InterruptionsDeferred() : saved_{} { ::EnterCriticalSection(&files_in_flight().lock); }

InterruptionsDeferred::~InterruptionsDeferred() { ::LeaveCriticalSection(&files_in_flight().lock); }

void interruption_point() {}

}  // namespace scenariogen
