#include "platform/folder_lock.h"

#include <windows.h>

#include <cstdio>
#include <utility>

#include "platform/interruption.h"
#include "platform/system_files.h"
#include "platform/temporary_files.h"
#include "platform/windows/wide_text.h"

namespace scenariogen {

namespace {

// The lock is a named mutex that stands for the folder: its name holds the
// folder's volume and file index, so that every spelling of the folder's
// path meets the same mutex. The system releases a mutex whose owner ends.
std::wstring mutex_name(const system_files::FileIdentity& identity, const wchar_t* space) {
    wchar_t name[96];
    std::swprintf(name, sizeof name / sizeof name[0], L"%lsscenariogen-folder-%llx-%llx", space,
                  static_cast<unsigned long long>(identity.device), static_cast<unsigned long long>(identity.index));
    return name;
}

HANDLE open_mutex(const std::string& folder) {
    const auto identity = system_files::identity_of(folder);
    if (!identity) throw FileError(folder, windows::error_text(::GetLastError()));
    // Global: runs in other sessions meet the same lock; where that namespace is closed, the session's own.
    for (const wchar_t* space : {L"Global\\", L"Local\\"}) {
        const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, mutex_name(*identity, space).c_str());
        if (mutex != nullptr) return mutex;
    }
    throw FileError(folder, windows::error_text(::GetLastError()));
}

bool acquired(DWORD outcome) { return outcome == WAIT_OBJECT_0 || outcome == WAIT_ABANDONED; }

}  // namespace

FolderLock::FolderLock(const std::string& folder, Wait wait, const std::function<void()>& waiting) {
    const DWORD attributes = ::GetFileAttributesW(windows::widen(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) throw FileError(folder, windows::error_text(::GetLastError()));
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) throw FileError(folder, "not a folder");
    const HANDLE mutex = open_mutex(folder);
    FolderLock opened(reinterpret_cast<std::intptr_t>(mutex));
    if (!acquired(::WaitForSingleObject(mutex, 0))) {
        if (wait == Wait::kNo) throw FolderBusy(folder, "another scenariogen run is writing into this folder");
        if (waiting) waiting();
        if (!acquired(::WaitForSingleObject(mutex, INFINITE))) {
            throw FileError(folder, windows::error_text(::GetLastError()));
        }
    }
    handle_ = std::exchange(opened.handle_, -1);
    interruption_point();
    remove_abandoned_temporary_files(folder);
}

FolderLock::FolderLock(FolderLock&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

FolderLock::~FolderLock() {
    if (handle_ == -1) return;
    const HANDLE mutex = reinterpret_cast<HANDLE>(handle_);
    ::ReleaseMutex(mutex);
    ::CloseHandle(mutex);
}

}  // namespace scenariogen
