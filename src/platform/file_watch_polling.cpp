#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "platform/file_system.h"
#include "platform/file_watch.h"

namespace scenariogen {

namespace {

// What polling compares: a file that is missing, or its size and time of
// last change. A file renamed over another changes at least one of them on
// every system that keeps times in nanoseconds or in 100 ns ticks.
struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type changed{};

    bool operator==(const FileStamp&) const = default;
};

// The program's paths are UTF-8 on every system.
std::filesystem::path path_of(const std::string& path) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(path.data()), path.size()));
}

FileStamp stamp_of(const std::string& utf8_path) {
    std::error_code error;
    FileStamp stamp;
    const std::filesystem::path path = path_of(utf8_path);
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) return stamp;
    stamp.exists = true;
    stamp.size = std::filesystem::is_regular_file(status) ? std::filesystem::file_size(path, error) : 0;
    stamp.changed = std::filesystem::last_write_time(path, error);
    return stamp;
}

class PollingWatch : public FileWatch {
public:
    PollingWatch(std::vector<std::string> paths, std::chrono::milliseconds interval)
        : paths_(std::move(paths)), interval_(interval) {
        for (const std::string& path : paths_) {
            const std::filesystem::path folder = path_of(path).parent_path();
            std::error_code error;
            if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
                throw FileError(path, "its folder does not exist");
            }
            stamps_.push_back(stamp_of(path));
        }
    }

    WatchEvent wait(std::chrono::milliseconds timeout) override {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::unique_lock lock(mutex_);
        for (;;) {
            if (stopped_) return WatchEvent::kStopped;
            if (changed()) return WatchEvent::kChanged;
            const auto now = std::chrono::steady_clock::now();
            if (now >= deadline) return WatchEvent::kTimedOut;
            const auto next = std::min(deadline, now + interval_);
            woken_.wait_until(lock, next, [this] { return stopped_; });
        }
    }

    void stop() override {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        woken_.notify_all();
    }

private:
    bool changed() {
        bool any = false;
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            FileStamp now = stamp_of(paths_[i]);
            if (now != stamps_[i]) {
                stamps_[i] = now;
                any = true;
            }
        }
        return any;
    }

    std::vector<std::string> paths_;
    std::chrono::milliseconds interval_;
    std::vector<FileStamp> stamps_;
    std::mutex mutex_;
    std::condition_variable woken_;
    bool stopped_ = false;
};

}  // namespace

std::unique_ptr<FileWatch> poll_files(const std::vector<std::string>& paths, std::chrono::milliseconds interval) {
    return std::make_unique<PollingWatch>(paths, interval);
}

#if !defined(__linux__)
// Systems without a notification of their own here poll five times a second.
std::unique_ptr<FileWatch> watch_files(const std::vector<std::string>& paths) {
    return poll_files(paths, std::chrono::milliseconds(200));
}
#endif

}  // namespace scenariogen
