// What an interruption does to a run: the files in flight are removed and
// the process exits with 128 + the signal number. Interruptions are SIGINT,
// SIGTERM and SIGHUP; on Windows, Ctrl+C (130), Ctrl+Break (149) and the
// console window closing (129).
#pragma once

#include <memory>
#include <string>

namespace scenariogen {

// Installs the handlers; a signal that the process was started with ignored
// (as under nohup) stays ignored.
void install_interruption_handlers();

// Marks a file for removal should the process be interrupted while this
// object lives: a temporary file in flight, or an intermediate file that the
// run deletes once it has used it.
class RemovedOnInterruption {
public:
    explicit RemovedOnInterruption(const std::string& path);
    RemovedOnInterruption(RemovedOnInterruption&& other) noexcept;
    RemovedOnInterruption& operator=(RemovedOnInterruption&& other) noexcept;
    RemovedOnInterruption(const RemovedOnInterruption&) = delete;
    RemovedOnInterruption& operator=(const RemovedOnInterruption&) = delete;
    ~RemovedOnInterruption();

private:
    void release() noexcept;

    std::unique_ptr<char[]> path_;  // where the handler finds it: the pointer stays put when this moves
    int slot_ = -1;
};

// Holds interruptions back while it lives, so that a step that takes several
// system calls (create a file and mark it, rename a set of files) is done
// whole or not at all; an interruption that comes meanwhile takes effect when
// the last such object ends.
class InterruptionsDeferred {
public:
    InterruptionsDeferred();
    InterruptionsDeferred(const InterruptionsDeferred&) = delete;
    InterruptionsDeferred& operator=(const InterruptionsDeferred&) = delete;
    ~InterruptionsDeferred();

private:
    alignas(8) unsigned char saved_[128];  // the system's record of what was held back before
};

// A point between two steps of the file-system layer. The tests interrupt a
// run at each such point in turn: with SCENARIOGEN_TEST_INTERRUPT=N:SIGNAL in
// its environment, a process sends itself SIGNAL at the Nth point it passes.
void interruption_point();

}  // namespace scenariogen
