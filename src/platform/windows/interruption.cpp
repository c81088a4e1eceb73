#include "platform/interruption.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <cstring>
#include <iterator>
#include <stdexcept>

#include "platform/files_in_flight.h"
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
    files_in_flight::Slots paths{};
};

FilesInFlight& in_flight() {
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
    FilesInFlight& files = in_flight();
    ::EnterCriticalSection(&files.lock);
    // Nothing here allocates or throws: the handler runs on a thread of its own, at any moment.
    static wchar_t wide[32768];  // the longest path the system knows, used by this handler alone
    for (auto& slot : files.paths) {
        const char* path = slot.load();
        if (path != nullptr && windows::widen_into(path, wide, static_cast<int>(std::size(wide)))) ::DeleteFileW(wide);
    }
    ::ExitProcess(static_cast<UINT>(exit_status(event)));
}

}  // namespace

files_in_flight::Slots& files_in_flight::slots() { return in_flight().paths; }

void install_interruption_handlers() {
    in_flight();
    ::SetConsoleCtrlHandler(on_interruption, TRUE);
}

InterruptionsDeferred::InterruptionsDeferred() : saved_{} { ::EnterCriticalSection(&in_flight().lock); }

InterruptionsDeferred::~InterruptionsDeferred() { ::LeaveCriticalSection(&in_flight().lock); }

void interruption_point() {}

}  // namespace scenariogen
