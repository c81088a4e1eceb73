#include "platform/interruption.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace scenariogen {

namespace {

constexpr std::array<int, 3> kInterruptions{SIGINT, SIGTERM, SIGHUP};

// The files to remove on an interruption. A signal handler reaches no object
// of the program but this one, so it lives at namespace scope; its slots are
// lock-free atomics, read by the handler with no allocation and no lock.
struct FilesInFlight {
    std::array<std::atomic<const char*>, 64> paths{};
    std::atomic<int> points_passed{0};
};
constinit FilesInFlight files_in_flight;

extern "C" void on_interruption(int signal_number) {
    for (auto& slot : files_in_flight.paths) {
        if (const char* path = slot.load()) ::unlink(path);
    }
    ::_exit(128 + signal_number);
}

sigset_t interruption_set() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal_number : kInterruptions) sigaddset(&set, signal_number);
    return set;
}

// The tests' hook: "N:SIGNAL" from the environment, or nothing.
struct TestInterruption {
    int point = 0;
    int signal_number = 0;
};

TestInterruption test_interruption() {
    const char* setting = std::getenv("SCENARIOGEN_TEST_INTERRUPT");
    TestInterruption hook;
    if (setting == nullptr) return hook;
    char* end = nullptr;
    hook.point = static_cast<int>(std::strtol(setting, &end, 10));
    if (*end == ':') hook.signal_number = static_cast<int>(std::strtol(end + 1, nullptr, 10));
    return hook;
}

}  // namespace

void install_interruption_handlers() {
    struct sigaction action {};
    action.sa_handler = on_interruption;
    action.sa_mask = interruption_set();
    for (const int signal_number : kInterruptions) {
        struct sigaction before {};
        if (::sigaction(signal_number, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
        ::sigaction(signal_number, &action, nullptr);
    }
}

RemovedOnInterruption::RemovedOnInterruption(const std::string& path) : path_(new char[path.size() + 1]) {
    std::memcpy(path_.get(), path.c_str(), path.size() + 1);
    for (int slot = 0; slot < static_cast<int>(files_in_flight.paths.size()); ++slot) {
        const char* free = nullptr;
        if (files_in_flight.paths[static_cast<std::size_t>(slot)].compare_exchange_strong(free, path_.get())) {
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
    if (slot_ >= 0) files_in_flight.paths[static_cast<std::size_t>(slot_)].store(nullptr);
    slot_ = -1;
}

InterruptionsDeferred::InterruptionsDeferred() {
    static_assert(sizeof(sigset_t) <= sizeof saved_);
    const sigset_t held = interruption_set();
    sigset_t before;
    ::pthread_sigmask(SIG_BLOCK, &held, &before);
    std::memcpy(saved_, &before, sizeof before);
}

InterruptionsDeferred::~InterruptionsDeferred() {
    sigset_t before;
    std::memcpy(&before, saved_, sizeof before);
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

void interruption_point() {
    static const TestInterruption hook = test_interruption();
    if (hook.point <= 0) return;
    if (files_in_flight.points_passed.fetch_add(1) + 1 == hook.point && hook.signal_number > 0) {
        ::raise(hook.signal_number);
    }
}

}  // namespace scenariogen
