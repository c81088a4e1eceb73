#include "platform/interruption.h"

#include "platform/files_in_flight.h"

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

// What the signal handler reads: the files to remove, and the steps passed
// (for the tests' hook). A signal handler reaches no object of the program
// but this one, so it lives at namespace scope, initialised before any code runs.
struct InFlight {
    files_in_flight::Slots paths{};
    std::atomic<int> points_passed{0};
};
constinit InFlight in_flight;

extern "C" void on_interruption(int signal_number) {
    for (auto& slot : in_flight.paths) {
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

files_in_flight::Slots& files_in_flight::slots() { return in_flight.paths; }

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
    if (in_flight.points_passed.fetch_add(1) + 1 == hook.point && hook.signal_number > 0) {
        ::raise(hook.signal_number);
    }
}

}  // namespace scenariogen
