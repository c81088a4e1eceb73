// File-change notification on Linux: inotify on the folders that hold the
// files, so that every way an editor saves (writing in place, or writing a
// new file and renaming it over the old one) is seen, and an eventfd to end
// a wait from another thread.
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <set>

#include "platform/file_system.h"
#include "platform/file_watch.h"

namespace scenariogen {

namespace {

constexpr std::uint32_t kFolderEvents =
    IN_CLOSE_WRITE | IN_MODIFY | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB;
// The watched folder itself went away: every later change would go unseen.
constexpr std::uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

std::pair<std::string, std::string> split_path(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

class InotifyWatch : public FileWatch {
public:
    explicit InotifyWatch(const std::vector<std::string>& paths)
        : inotify_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), stop_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
        if (inotify_.get() < 0) throw FileError("inotify", std::strerror(errno));
        if (stop_.get() < 0) throw FileError("eventfd", std::strerror(errno));
        std::map<std::string, int> folders;
        for (const std::string& path : paths) {
            auto [folder, name] = split_path(path);
            if (!folders.contains(folder)) {
                const int wd = ::inotify_add_watch(inotify_.get(), folder.c_str(), kFolderEvents | IN_ONLYDIR);
                if (wd < 0) throw FileError(folder, std::strerror(errno));
                folders[folder] = wd;
            }
            names_.insert({folders[folder], name});
        }
    }

    WatchEvent wait(std::chrono::milliseconds timeout) override {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            pollfd fds[2] = {{stop_.get(), POLLIN, 0}, {inotify_.get(), POLLIN, 0}};
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            const int ready = ::poll(fds, 2, static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, 1 << 30)));
            if (ready < 0 && errno != EINTR) throw FileError("inotify", std::strerror(errno));
            if (fds[0].revents != 0) return WatchEvent::kStopped;
            if (fds[1].revents != 0) {
                if (const auto event = drain()) return *event;
            }
            if (std::chrono::steady_clock::now() >= deadline) return WatchEvent::kTimedOut;
        }
    }

    void stop() override {
        const std::uint64_t one = 1;
        // A full counter already wakes every wait; nothing else can fail here.
        [[maybe_unused]] const ssize_t written = ::write(stop_.get(), &one, sizeof one);
    }

private:
    // Reads every pending event; what the last about a watched file tells,
    // or nothing when none is.
    std::optional<WatchEvent> drain() {
        alignas(inotify_event) char buffer[16 * 1024];
        std::optional<WatchEvent> last;
        for (;;) {
            const ssize_t length = ::read(inotify_.get(), buffer, sizeof buffer);
            if (length <= 0) return last;
            for (ssize_t at = 0; at < length;) {
                inotify_event event;
                std::memcpy(&event, buffer + at, sizeof event);
                const char* name = buffer + at + sizeof event;
                if (about_watched_file(event, name)) last = kind_of(event.mask);
                at += static_cast<ssize_t>(sizeof event + event.len);
            }
        }
    }

    // A file written or created is still open for writing; one closed,
    // renamed into place, deleted or touched is complete.
    static WatchEvent kind_of(std::uint32_t mask) {
        return (mask & (IN_MODIFY | IN_CREATE)) != 0 ? WatchEvent::kChanging : WatchEvent::kChanged;
    }

    bool about_watched_file(const inotify_event& event, const char* name) const {
        if ((event.mask & (IN_Q_OVERFLOW | kFolderGone)) != 0) return true;
        if (event.len == 0) return false;
        return names_.contains({event.wd, std::string(name, ::strnlen(name, event.len))});
    }

    Descriptor inotify_;
    Descriptor stop_;
    std::set<std::pair<int, std::string>> names_;  // (folder watch, file name)
};

}  // namespace

std::unique_ptr<FileWatch> watch_files(const std::vector<std::string>& paths) {
    return std::make_unique<InotifyWatch>(paths);
}

}  // namespace scenariogen
