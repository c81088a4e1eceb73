// Runs that share an output folder take turns: each waits for the folder's
// lock, or with --no-wait gives up at once; nothing is mixed or lost.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <map>
#include <thread>

#include "platform/folder_lock.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using testing::folder_contents;
using testing::Outcome;
using testing::run_program;
using testing::slurp;
using testing::TempDir;

// The files of one run alone in a fresh folder.
std::map<std::string, std::string> single_run_files() {
    TempDir dir;
    EXPECT_EQ(run_program("-o " + dir.path().string()).status, 0);
    return folder_contents(dir.path());
}

TEST(SharedFolder, SixteenRunsAtOnceLeaveTheFilesOfOneRun) {
    const auto expected = single_run_files();
    ASSERT_EQ(expected.size(), 6u);
    TempDir dir;
    std::vector<std::future<Outcome>> runs;
    for (int i = 0; i < 16; ++i) {
        runs.push_back(std::async(std::launch::async, [&] { return run_program("-o " + dir.path().string()); }));
    }
    for (auto& run : runs) {
        const Outcome outcome = run.get();
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.err.find("error"), std::string::npos) << outcome.err;
    }
    EXPECT_EQ(folder_contents(dir.path()), expected);
}

TEST(SharedFolder, CompilesAndRunsIntoOneFolderTakeTurns) {
    const auto expected = single_run_files();
    TempDir sources;
    testing::spit(sources.file("linea.txt"), testing::own_line_text());
    testing::spit(sources.file("treno.txt"), testing::own_train_text());
    TempDir dir;
    const std::string compile =
        "compile " + sources.file("linea.txt") + " " + sources.file("treno.txt") + " -o " + dir.path().string();
    std::vector<std::future<Outcome>> runs;
    for (int i = 0; i < 8; ++i) {
        const std::string args = i % 2 == 0 ? compile : "-o " + dir.path().string();
        runs.push_back(std::async(std::launch::async, [args] { return run_program(args); }));
    }
    for (auto& run : runs) EXPECT_EQ(run.get().status, 0);
    EXPECT_EQ(folder_contents(dir.path()), expected);
}

TEST(SharedFolder, WithoutWaitingABusyFolderFailsAtOnceAndStaysAsItWas) {
    TempDir dir;
    testing::spit(dir.file("Zervano-OdelmaVmod_27340.dat"), "earlier");
    const FolderLock held(dir.path().string(), FolderLock::Wait::kNo);
    TempDir sources;
    testing::spit(sources.file("linea.txt"), testing::own_line_text());
    testing::spit(sources.file("treno.txt"), testing::own_train_text());
    for (const std::string& args : {"--no-wait -o " + dir.path().string(),
                                    "compile " + sources.file("linea.txt") + " " + sources.file("treno.txt") +
                                        " --no-wait -o " + dir.path().string()}) {
        const Outcome outcome = run_program(args);
        EXPECT_EQ(outcome.status, 3) << args;
        EXPECT_NE(outcome.err.find(dir.path().string()), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find("another scenariogen run is writing into this folder"), std::string::npos)
            << outcome.err;
    }
    EXPECT_EQ(testing::listing(dir.path()), std::vector<std::string>{"Zervano-OdelmaVmod_27340.dat"});
    EXPECT_EQ(slurp(dir.file("Zervano-OdelmaVmod_27340.dat")), "earlier");
}

TEST(SharedFolder, ARunWaitsForTheFolderAndSaysSo) {
    TempDir dir;
    TempDir capture;
    std::future<int> run;  // ends after the lock below, which it may be waiting for
    std::optional<FolderLock> held(std::in_place, dir.path().string(), FolderLock::Wait::kNo);
    run = std::async(std::launch::async, [&] {
        return testing::exit_status(std::system((std::string(SCENARIOGEN_EXECUTABLE) + " -o " + dir.path().string() +
                                                 " 2>" + capture.file("err") + " <" + testing::kNoInput)
                                                    .c_str()));
    });
    const std::string waiting = "scenariogen: waiting for the folder " + dir.path().string();
    for (int poll = 0; poll < 1000 && slurp(capture.file("err")).find(waiting) == std::string::npos; ++poll) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_NE(slurp(capture.file("err")).find(waiting), std::string::npos) << slurp(capture.file("err"));
    EXPECT_TRUE(testing::listing(dir.path()).empty()) << "nothing is written while another run holds the folder";
    held.reset();
    EXPECT_EQ(run.get(), 0) << slurp(capture.file("err"));
    EXPECT_EQ(testing::listing(dir.path()).size(), 6u);
}

}  // namespace
}  // namespace scenariogen
