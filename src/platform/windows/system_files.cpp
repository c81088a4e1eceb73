#include "platform/system_files.h"

// <windows.h> first: the headers of the other system libraries build on it.
#include <windows.h>

#include <bcrypt.h>

#include <utility>

#include "platform/file_system.h"
#include "platform/windows/wide_text.h"

namespace scenariogen::system_files {

namespace {

using windows::widen;

[[noreturn]] void fail(const std::string& path, DWORD code) { throw FileError(path, windows::error_text(code)); }

HANDLE handle_of(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A handle that only asks about the file (links followed); folders too.
HANDLE open_for_query(const std::wstring& path) {
    return ::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool not_found(DWORD code) { return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND; }

// The path that GetFinalPathNameByHandleW gives, without its "\\?\" prefix
// where a plain path says the same.
std::string final_path(HANDLE file, const std::string& path) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) fail(path, ::GetLastError());
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.resize(length + 1);
    }
    if (buffer.rfind(L"\\\\?\\UNC\\", 0) == 0) return "\\\\" + windows::narrow(buffer.substr(8));
    if (buffer.rfind(L"\\\\?\\", 0) == 0 && buffer.size() >= 7 && buffer[5] == L':') {
        return windows::narrow(buffer.substr(4));
    }
    return windows::narrow(buffer);
}

}  // namespace

const char kSeparator = '\\';

bool is_separator(char c) { return c == '/' || c == '\\'; }

OpenFile::OpenFile(OpenFile&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)), owned_(other.owned_) {}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
    if (this != &other) {
        if (is_open() && owned_) ::CloseHandle(handle_of(handle_));
        handle_ = std::exchange(other.handle_, kNoHandle);
        owned_ = other.owned_;
    }
    return *this;
}

OpenFile::~OpenFile() {
    if (is_open() && owned_) ::CloseHandle(handle_of(handle_));
}

void OpenFile::write_all(std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(bytes.size() < (1u << 30) ? bytes.size() : (1u << 30));
        DWORD written = 0;
        if (!::WriteFile(handle_of(handle_), bytes.data(), piece, &written, nullptr)) fail(path, ::GetLastError());
        bytes.remove_prefix(written);
    }
}

void OpenFile::write_all_at(std::uint64_t offset, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(bytes.size() < (1u << 30) ? bytes.size() : (1u << 30));
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD written = 0;
        if (!::WriteFile(handle_of(handle_), bytes.data(), piece, &written, &at)) fail(path, ::GetLastError());
        bytes.remove_prefix(written);
        offset += written;
    }
}

std::size_t OpenFile::read_some(char* buffer, std::size_t size, const std::string& path) {
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(size < (1u << 30) ? size : (1u << 30));
    if (!::ReadFile(handle_of(handle_), buffer, wanted, &got, nullptr)) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_BROKEN_PIPE || code == ERROR_HANDLE_EOF) return 0;
        fail(path, code);
    }
    return got;
}

void OpenFile::close(const std::string& path) {
    const HANDLE file = handle_of(std::exchange(handle_, kNoHandle));
    if (owned_ && !::CloseHandle(file)) fail(path, ::GetLastError());
}

OpenFile open_regular_for_reading(const std::string& path, std::uint64_t& size) {
    const std::wstring wide = widen(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw FileError(path, "is a folder");
    }
    const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) fail(path, ::GetLastError());
    OpenFile opened(reinterpret_cast<std::intptr_t>(file), true);
    LARGE_INTEGER length{};
    if (::GetFileType(file) != FILE_TYPE_DISK) throw FileError(path, "not a regular file");
    if (!::GetFileSizeEx(file, &length)) fail(path, ::GetLastError());
    size = static_cast<std::uint64_t>(length.QuadPart);
    return opened;
}

OpenFile create_new(const std::string& path, const std::string& reported_path) {
    const HANDLE file = ::CreateFileW(widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return OpenFile(reinterpret_cast<std::intptr_t>(file), true);
    const DWORD code = ::GetLastError();
    if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) return OpenFile();
    fail(reported_path, code);
}

OutputTarget resolve_output(const std::string& path) {
    const std::wstring wide = widen(path);
    const HANDLE file = open_for_query(wide);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        // A name not yet taken, or a symbolic link that leads nowhere: the name itself is written.
        if (not_found(code)) return {OutputTarget::Kind::kReplace, path};
        fail(path, code);
    }
    OutputTarget target{OutputTarget::Kind::kReplace, path};
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        target.kind = OutputTarget::Kind::kDirect;  // a device (NUL, CON) or a pipe
    } else if (!::GetFileInformationByHandle(file, &information)) {
        const DWORD code = ::GetLastError();
        ::CloseHandle(file);
        fail(path, code);
    } else if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        target.kind = OutputTarget::Kind::kFolder;
    } else if ((::GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        target.path = final_path(file, path);  // a link: the file it leads to is replaced
    }
    ::CloseHandle(file);
    return target;
}

OpenFile open_direct_output(const OutputTarget& target) {
    const HANDLE file = ::CreateFileW(widen(target.path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) fail(target.path, ::GetLastError());
    return OpenFile(reinterpret_cast<std::intptr_t>(file), true);
}

void rename_over(const std::string& from, const std::string& to) {
    const std::wstring source = widen(from);
    const std::wstring target = widen(to);
    // A file that another program holds open for a moment (a virus scanner, an indexer) refuses to be
    // replaced; a few more attempts let it go.
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
        const DWORD code = ::GetLastError();
        if (attempt == 20 || (code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION)) fail(to, code);
        ::Sleep(25);
    }
}

bool remove_path(const std::string& path) {
    if (::DeleteFileW(widen(path).c_str())) return true;
    const DWORD code = ::GetLastError();
    if (not_found(code)) return false;
    fail(path, code);
}

std::vector<std::string> folder_entries(const std::string& folder) {
    WIN32_FIND_DATAW entry{};
    const HANDLE search = ::FindFirstFileW((widen(folder) + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) fail(folder, ::GetLastError());
    std::vector<std::string> names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(windows::narrow(name));
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    return names;
}

bool is_regular_file(const std::string& path) {
    try {
        const DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
               (attributes & FILE_ATTRIBUTE_DEVICE) == 0;
    } catch (const FileError&) {
        return false;
    }
}

std::optional<FileIdentity> identity_of(const std::string& path) {
    std::wstring wide;
    try {
        wide = widen(path);
    } catch (const FileError&) {
        return std::nullopt;
    }
    const HANDLE file = open_for_query(wide);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = ::GetFileInformationByHandle(file, &information);
    ::CloseHandle(file);
    if (!known) return std::nullopt;
    return FileIdentity{information.dwVolumeSerialNumber,
                        (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

std::uint64_t random_bits() {
    std::uint64_t bits = 0;
    if (BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&bits), sizeof bits,
                                         BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        return bits;
    }
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return static_cast<std::uint64_t>(now.QuadPart) * 6364136223846793005u + current_process_id();
}

std::uint64_t current_process_id() { return ::GetCurrentProcessId(); }

bool process_exists(std::uint64_t process_id) {
    if (process_id == 0 || process_id > 0xffffffffu) return false;
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process_id));
    if (process == nullptr) return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
}

std::string last_error_text() { return windows::error_text(::GetLastError()); }

}  // namespace scenariogen::system_files
