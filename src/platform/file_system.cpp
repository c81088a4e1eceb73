#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace scenariogen {

namespace {

std::string system_reason(int error_number) { return std::strerror(error_number); }

[[noreturn]] void fail(const std::string& path, int error_number) {
    throw FileError(path, system_reason(error_number));
}

std::string folder_of(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string name_of(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates a new file beside `path`, named after it with a random tail, with
// the permissions that the user's umask gives a new file.
int create_temporary(const std::string& path, std::string& temporary) {
    const std::string stem = join_path(folder_of(path), "." + name_of(path) + ".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::uint64_t tail = 0;
        if (::getrandom(&tail, sizeof tail, 0) != static_cast<ssize_t>(sizeof tail)) {
            tail = static_cast<std::uint64_t>(::getpid()) * 1000003u + static_cast<std::uint64_t>(attempt);
        }
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(tail));
        temporary = stem + suffix;
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

void write_all(int fd, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            fail(path, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Buffered writes into an open file.
class FileOutput : public ByteOutput {
public:
    FileOutput(int fd, const std::string& path) : fd_(fd), path_(path) { buffer_.reserve(kBuffer); }
    void write(std::string_view bytes) override {
        if (buffer_.size() + bytes.size() > kBuffer) flush();
        if (bytes.size() >= kBuffer / 2) {
            write_all(fd_, bytes, path_);
        } else {
            buffer_ += bytes;
        }
    }
    void flush() {
        write_all(fd_, buffer_, path_);
        buffer_.clear();
    }

private:
    // Pieces of half this size or more go straight to the file, without a copy.
    static constexpr std::size_t kBuffer = 1 << 16;
    int fd_;
    const std::string& path_;
    std::string buffer_;
};

}  // namespace

FileError::FileError(std::string path, std::string reason)
    : std::runtime_error(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason)) {}

std::string join_path(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path += '/';
    path += name;
    return path;
}

bool file_exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void check_readable(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) fail(path, errno);
    struct stat info {};
    const int status_error = ::fstat(fd, &info) != 0 ? errno : (S_ISREG(info.st_mode) ? 0 : EISDIR);
    ::close(fd);
    if (status_error != 0) fail(path, status_error);
}

std::string read_file(const std::string& path, std::size_t max_bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) fail(path, errno);
    struct stat info {};
    const int status_error = ::fstat(fd, &info) != 0 ? errno : (S_ISREG(info.st_mode) ? 0 : EISDIR);
    if (status_error != 0) {
        ::close(fd);
        fail(path, status_error);
    }
    const auto too_large = [&] {
        ::close(fd);
        throw FileError(path, "larger than " + std::to_string(max_bytes) + " bytes");
    };
    if (static_cast<std::uintmax_t>(info.st_size) > max_bytes) too_large();
    std::string content;
    content.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            const int error_number = errno;
            ::close(fd);
            fail(path, error_number);
        }
        if (got == 0) break;
        if (content.size() + static_cast<std::size_t>(got) > max_bytes) too_large();
        content.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return content;
}

void remove_file(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) fail(path, errno);
}

StagedFiles::~StagedFiles() {
    for (const auto& file : staged_) ::unlink(file.temporary.c_str());
}

void StagedFiles::stage(const std::string& path, std::string_view bytes) {
    stage(path, [bytes](ByteOutput& out) { out.write(bytes); });
}

void StagedFiles::stage(const std::string& path, const std::function<void(ByteOutput&)>& produce) {
    std::string temporary;
    const int fd = create_temporary(path, temporary);
    if (fd < 0) fail(path, errno);
    staged_.push_back({temporary, path});
    try {
        FileOutput out(fd, path);
        produce(out);
        out.flush();
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0) fail(path, errno);
}

void StagedFiles::commit() {
    while (!staged_.empty()) {
        const Staged& file = staged_.front();
        if (::rename(file.temporary.c_str(), file.target.c_str()) != 0) fail(file.target, errno);
        staged_.erase(staged_.begin());
    }
}

void replace_file(const std::string& path, std::string_view bytes) {
    StagedFiles files;
    files.stage(path, bytes);
    files.commit();
}

}  // namespace scenariogen
