// Interrupted runs: a run stopped by SIGINT, SIGTERM or SIGHUP at any step
// of its work leaves each output as it was or whole and new, no temporary
// file and no intermediate file, and exits with 128 + the signal number. A
// run killed outright leaves at most its temporary files, which the next run
// in the folder removes.
//
// Each run is stopped at every step in turn: with SCENARIOGEN_TEST_INTERRUPT
// set to "N:SIGNAL", the program sends itself SIGNAL at the Nth point between
// two file-system steps that it passes.
#include <gtest/gtest.h>

#include <csignal>
#include <future>
#include <map>
#include <set>
#include <thread>

#include "platform/folder_lock.h"
#include "platform/temporary_files.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using testing::folder_contents;
using testing::Outcome;
using testing::run_command;
using testing::run_program;
using testing::slurp;
using testing::spit;
using testing::TempDir;

using Files = std::map<std::string, std::string>;

#ifndef _WIN32
// A run never passes this many points: the loops below end well before.
constexpr int kMostPoints = 200;

// The signals of an interruption, and SIGKILL.
const std::vector<int> kInterruptions{SIGINT, SIGTERM, SIGHUP};

// The test's own runs start with the default handling of every interruption,
// even where the tests were started with some of them ignored (in the
// background of a script), which the program would rightly keep.
class DefaultInterruptions {
public:
    DefaultInterruptions() {
        for (const int signal : kInterruptions) previous_[signal] = std::signal(signal, SIG_DFL);
    }
    ~DefaultInterruptions() {
        for (const auto& [signal, handler] : previous_) std::signal(signal, handler);
    }

private:
    std::map<int, void (*)(int)> previous_;
};

Outcome run_stopped_at(int point, int signal, const std::string& args) {
    return run_command("SCENARIOGEN_TEST_INTERRUPT=" + std::to_string(point) + ":" + std::to_string(signal) + " " +
                       SCENARIOGEN_EXECUTABLE + " " + args);
}

void put(const TempDir& dir, const Files& files) {
    for (const auto& [name, bytes] : files) spit(dir.file(name), bytes);
}

Files earlier_files_of(const Files& fresh) {
    Files earlier;
    for (const auto& [name, bytes] : fresh) earlier[name] = "the earlier " + name;
    return earlier;
}

std::set<std::string> names_of(const Files& files) {
    std::set<std::string> names;
    for (const auto& [name, bytes] : files) names.insert(name);
    return names;
}

// Each file is the earlier one or the new one, whole; no other file.
void expect_each_file_earlier_or_new(const Files& now, const Files& earlier, const Files& fresh) {
    EXPECT_EQ(names_of(now), names_of(fresh));
    for (const auto& [name, bytes] : now) {
        if (!fresh.contains(name)) continue;
        EXPECT_TRUE(bytes == earlier.at(name) || bytes == fresh.at(name)) << name << " is neither";
    }
}

Files generation_run_files() {
    TempDir dir;
    EXPECT_EQ(run_program("-o " + dir.path().string()).status, 0);
    return folder_contents(dir.path());
}

// The arguments that compile the example into `out`.
std::string example_compile(const TempDir& out) {
    const std::string examples = std::string(SCENARIOGEN_SOURCE_DIR) + "/examples/";
    return "compile " + examples + "valbruna_linea.txt " + examples + "valbruna_treno.txt -o " + out.path().string() +
           " --name Valbruna-Rocca --train 4711";
}
#endif

// Every step of the run, each with one of the three signals in turn.
TEST(Interruptions, AGenerationRunStoppedAtEachStepLeavesWholeFilesOnly) {
    SKIP_ON_WINDOWS("signals are POSIX");
#ifndef _WIN32
    const DefaultInterruptions defaults;
    const Files fresh = generation_run_files();
    const Files earlier = earlier_files_of(fresh);
    TempDir dir;
    int point = 1;
    for (; point < kMostPoints; ++point) {
        const int signal = kInterruptions[static_cast<std::size_t>(point) % kInterruptions.size()];
        put(dir, earlier);
        const Outcome outcome = run_stopped_at(point, signal, "-o " + dir.path().string());
        const Files now = folder_contents(dir.path());
        if (outcome.status == 0) {  // past the last step: the run is whole
            EXPECT_EQ(now, fresh);
            break;
        }
        SCOPED_TRACE("signal " + std::to_string(signal) + " at point " + std::to_string(point));
        EXPECT_EQ(outcome.status, 128 + signal) << outcome.err;
        expect_each_file_earlier_or_new(now, earlier, fresh);
    }
    EXPECT_GT(point, 8 * 4) << "every one of the eight files is staged, written and renamed";
#endif
}

// Every step of compile, with each of the three signals.
TEST(Interruptions, ACompileStoppedAtEachStepLeavesTheEarlierSetOrTheNewSet) {
    SKIP_ON_WINDOWS("signals are POSIX");
#ifndef _WIN32
    const DefaultInterruptions defaults;
    Files fresh;
    {
        TempDir dir;
        ASSERT_EQ(run_program(example_compile(dir)).status, 0);
        fresh = folder_contents(dir.path());
    }
    const Files earlier = earlier_files_of(fresh);
    for (const int signal : kInterruptions) {
        TempDir dir;
        int point = 1;
        for (; point < kMostPoints; ++point) {
            put(dir, earlier);
            const Outcome outcome = run_stopped_at(point, signal, example_compile(dir));
            const Files now = folder_contents(dir.path());
            if (outcome.status == 0) {
                EXPECT_EQ(now, fresh);
                break;
            }
            SCOPED_TRACE("signal " + std::to_string(signal) + " at point " + std::to_string(point));
            EXPECT_EQ(outcome.status, 128 + signal) << outcome.err;
            // The three binary files change together: all three are earlier, or all three new.
            EXPECT_TRUE(now == earlier || now == fresh);
        }
        EXPECT_GT(point, 3 * 4);
    }
#endif
}

// Runs killed one after another, at each step in turn: each leaves at most
// its own temporary and intermediate files, and the next run in the folder
// removes those of the runs before it.
TEST(Interruptions, AKilledRunLeavesOnlyItsOwnFilesAndTheNextRunTidiesUp) {
    SKIP_ON_WINDOWS("signals are POSIX");
#ifndef _WIN32
    const Files fresh = generation_run_files();
    const Files earlier = earlier_files_of(fresh);
    const std::set<std::string> intermediate{"Zervano-OdelmaVmod_linea.txt", "Zervano-OdelmaVmod_27340-.txt"};
    TempDir dir;
    put(dir, earlier);
    int point = 1;
    for (; point < kMostPoints; ++point) {
        const Outcome killed = run_stopped_at(point, SIGKILL, "-o " + dir.path().string());
        if (killed.status == 0) break;
        SCOPED_TRACE("killed at point " + std::to_string(point));
        EXPECT_TRUE(killed.status == -1 || killed.status == 128 + SIGKILL) << killed.status;
        std::set<std::uint64_t> owners;
        for (const auto& [name, bytes] : folder_contents(dir.path())) {
            if (fresh.contains(name)) {
                EXPECT_TRUE(bytes == earlier.at(name) || bytes == fresh.at(name)) << name;
            } else if (const auto owner = temporary_file_owner(name)) {
                owners.insert(*owner);
            } else {
                EXPECT_TRUE(intermediate.contains(name)) << name;
            }
        }
        // The temporary files of the runs killed before it went when this one took the lock.
        EXPECT_LE(owners.size(), 1u);
    }
    EXPECT_GT(point, 8 * 4);
    EXPECT_EQ(folder_contents(dir.path()), fresh) << "the run that was not killed tidied up";
#endif
}

TEST(Interruptions, ARunWaitingForTheFolderEndsAtOnceOnASignal) {
    SKIP_ON_WINDOWS("signals are POSIX");
#ifndef _WIN32
    const DefaultInterruptions defaults;
    TempDir dir;
    TempDir capture;
    std::future<Outcome> run;  // ends after the lock below, which it may be waiting for
    const FolderLock held(dir.path().string(), FolderLock::Wait::kNo);
    // The program in the background of a shell, which tells its process number and waits for its status.
    run = std::async(std::launch::async, [&] {
        return run_command("sh -c '" + std::string(SCENARIOGEN_EXECUTABLE) + " -o " + dir.path().string() + " 2>" +
                           capture.file("err") + " & echo $! >" + capture.file("pid") + "; wait $!'");
    });
    const auto started = [&] {
        return slurp(capture.file("err")).find("waiting") != std::string::npos &&
               slurp(capture.file("pid")).find('\n') != std::string::npos;
    };
    for (int poll = 0; poll < 1000 && !started(); ++poll) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const std::string pid = slurp(capture.file("pid"));
    ASSERT_FALSE(pid.empty());
    ASSERT_EQ(std::system(("kill -TERM " + pid).c_str()), 0);
    EXPECT_EQ(run.get().status, 128 + SIGTERM);
    EXPECT_TRUE(testing::listing(dir.path()).empty());
#endif
}

}  // namespace
}  // namespace scenariogen
