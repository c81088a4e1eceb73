#include "platform/program_folder.h"

#include <windows.h>

#include "platform/file_system.h"
#include "platform/windows/wide_text.h"

namespace scenariogen {

std::string program_folder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) throw FileError("the program's own file", windows::error_text(::GetLastError()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return ".";
    // A drive's root keeps its separator: "C:\".
    const bool root = separator == 2 && path[1] == L':';
    return windows::narrow(path.substr(0, root ? separator + 1 : separator));
}

void require_folder(const std::string& folder) {
    const DWORD attributes = ::GetFileAttributesW(windows::widen(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) throw FileError(folder, windows::error_text(::GetLastError()));
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) throw FileError(folder, "not a folder");
}

}  // namespace scenariogen
