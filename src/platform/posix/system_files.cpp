#include "platform/system_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/file_system.h"

namespace scenariogen::system_files {

namespace {

[[noreturn]] void fail(const std::string& path, int error_number) {
    throw FileError(path, std::strerror(error_number));
}

int descriptor_of(std::intptr_t handle) { return static_cast<int>(handle); }

std::string folder_of(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The number N when `path` is one of the names under which the system shows
// this process's own descriptor N (/dev/fd/N, /proc/self/fd/N, ...): writing
// to such a name writes to that descriptor.
std::optional<int> own_descriptor_name(const std::string& path) {
    const std::string own_process = "/proc/" + std::to_string(::getpid()) + "/fd/";
    for (const std::string prefix : {"/dev/fd/", "/proc/self/fd/", "/proc/thread-self/fd/", own_process.c_str()}) {
        if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = path.substr(prefix.size());
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
        return std::stoi(digits);
    }
    return std::nullopt;
}

std::string read_link(const std::string& path) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) fail(path, errno);
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

}  // namespace

const char kSeparator = '/';

bool is_separator(char c) { return c == '/'; }

OpenFile::OpenFile(OpenFile&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)), owned_(other.owned_) {}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
    if (this != &other) {
        if (is_open() && owned_) ::close(descriptor_of(handle_));
        handle_ = std::exchange(other.handle_, kNoHandle);
        owned_ = other.owned_;
    }
    return *this;
}

OpenFile::~OpenFile() {
    if (is_open() && owned_) ::close(descriptor_of(handle_));
}

void OpenFile::write_all(std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor_of(handle_), bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            fail(path, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void OpenFile::write_all_at(std::uint64_t offset, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const ssize_t written =
            ::pwrite(descriptor_of(handle_), bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (written < 0) {
            if (errno == EINTR) continue;
            fail(path, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += static_cast<std::uint64_t>(written);
    }
}

std::size_t OpenFile::read_some(char* buffer, std::size_t size, const std::string& path) {
    for (;;) {
        const ssize_t got = ::read(descriptor_of(handle_), buffer, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) fail(path, errno);
    }
}

void OpenFile::close(const std::string& path) {
    const int descriptor = descriptor_of(std::exchange(handle_, kNoHandle));
    if (owned_ && ::close(descriptor) != 0) fail(path, errno);
}

OpenFile open_regular_for_reading(const std::string& path, std::uint64_t& size) {
    // Not blocking: a FIFO given as a file is refused below instead of waiting for a writer.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0) fail(path, errno);
    OpenFile file(descriptor, true);
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) fail(path, errno);
    if (S_ISDIR(info.st_mode)) fail(path, EISDIR);
    if (!S_ISREG(info.st_mode)) throw FileError(path, "not a regular file");
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    size = static_cast<std::uint64_t>(info.st_size);
    return file;
}

OpenFile create_new(const std::string& path, const std::string& reported_path) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0) return OpenFile(descriptor, true);
    if (errno == EEXIST) return OpenFile();
    fail(reported_path, errno);
}

OutputTarget resolve_output(const std::string& path) {
    std::string current = path;
    for (int link = 0; link < 40; ++link) {
        if (const auto descriptor = own_descriptor_name(current)) {
            return {OutputTarget::Kind::kDirect, current, *descriptor};
        }
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno == ENOENT) return {OutputTarget::Kind::kReplace, current};
            fail(path, errno);
        }
        if (S_ISLNK(info.st_mode)) {
            const std::string target = read_link(current);
            current = target.front() == '/' ? target : folder_of(current) + "/" + target;
            continue;
        }
        if (S_ISDIR(info.st_mode)) return {OutputTarget::Kind::kFolder, current};
        if (S_ISREG(info.st_mode)) return {OutputTarget::Kind::kReplace, current};
        return {OutputTarget::Kind::kDirect, current};
    }
    fail(path, ELOOP);
}

OpenFile open_direct_output(const OutputTarget& target) {
    if (target.descriptor >= 0) return OpenFile(target.descriptor, false);
    const int descriptor = ::open(target.path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) fail(target.path, errno);
    return OpenFile(descriptor, true);
}

void rename_over(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) fail(to, errno);
}

bool remove_path(const std::string& path) {
    if (::unlink(path.c_str()) == 0) return true;
    if (errno == ENOENT) return false;
    fail(path, errno);
}

std::vector<std::string> folder_entries(const std::string& folder) {
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) fail(folder, errno);
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(listing);
    return names;
}

bool is_regular_file(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<FileIdentity> identity_of(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

std::uint64_t random_bits() {
    std::uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof bits)) return bits;
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_nsec) * 6364136223846793005u + current_process_id();
}

std::uint64_t current_process_id() { return static_cast<std::uint64_t>(::getpid()); }

bool process_exists(std::uint64_t process_id) {
    if (process_id == 0 || process_id > static_cast<std::uint64_t>(INT32_MAX)) return false;
    return ::kill(static_cast<pid_t>(process_id), 0) == 0 || errno == EPERM;
}

std::string last_error_text() { return std::strerror(errno); }

}  // namespace scenariogen::system_files
