// A run or a compile that fails for want of room or rights loses nothing:
// every earlier output keeps its bytes, no temporary file stays behind and
// an author's sources are untouched.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/mount.h>
#endif

#include <map>

#include "test_support.h"

namespace scenariogen {
namespace {

using testing::listing;
using testing::slurp;
using testing::TempDir;

int run_shell(const std::string& command) {
    return testing::exit_status(std::system(("bash -c '" + command + "' >/dev/null 2>&1").c_str()));
}

// A first complete run, then the same run again under a limit on the size of
// every file it writes (in 1024-byte blocks): the second run fails, and the
// folder holds what the first left.
TEST(Failures, AWriteLimitLeavesTheEarlierRunsFilesAsTheyWere) {
    SKIP_ON_WINDOWS("the limit on a file's size is set by a POSIX shell");
    TempDir dir;
    const std::string program = SCENARIOGEN_EXECUTABLE;
    ASSERT_EQ(run_shell(program + " -o " + dir.path().string()), 0);
    const auto before = testing::folder_contents(dir.path());
    // 4 KiB stops the notes, 20 KiB the grid: one failure among the documents, one among the binary files.
    for (const int blocks : {4, 20}) {
        const int status = run_shell("trap \"\" XFSZ; ulimit -f " + std::to_string(blocks) + "; " + program + " -o " +
                                     dir.path().string());
        EXPECT_EQ(status, 3) << blocks;
        EXPECT_EQ(testing::folder_contents(dir.path()), before) << blocks;
    }
}

TEST(Failures, ACompileUnderAWriteLimitKeepsTheSourcesAndTheOutputs) {
    SKIP_ON_WINDOWS("the limit on a file's size is set by a POSIX shell");
    TempDir dir;
    const std::string program = SCENARIOGEN_EXECUTABLE;
    const std::string examples = SCENARIOGEN_SOURCE_DIR "/examples/";
    const std::string compile = program + " compile " + examples + "valbruna_linea.txt " + examples +
                                "valbruna_treno.txt -o " + dir.path().string();
    const std::string line_before = slurp(examples + "valbruna_linea.txt");
    ASSERT_EQ(run_shell(compile), 0);
    const auto before = testing::folder_contents(dir.path());
    EXPECT_EQ(run_shell("trap \"\" XFSZ; ulimit -f 8; " + compile), 3);
    EXPECT_EQ(testing::folder_contents(dir.path()), before);
    EXPECT_EQ(slurp(examples + "valbruna_linea.txt"), line_before);
}

// A real full disk, where the system lets a test mount a small tmpfs.
TEST(Failures, AFullDiskLeavesNoPartialFile) {
#ifdef _WIN32
    GTEST_SKIP() << "not on Windows: a small file system is mounted as on Linux";
#else
    TempDir dir;
    if (::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=256k") != 0) {
        GTEST_SKIP() << "no tmpfs can be mounted here";
    }
    const std::string program = SCENARIOGEN_EXECUTABLE;
    EXPECT_EQ(run_shell(program + " -o " + dir.path().string()), 3);
    // The documents fit, the grid does not: no binary file, no description file, no temporary file.
    EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"Zervano-OdelmaVmod_27340_note.txt",
                                                             "Zervano-OdelmaVmod_27340_rallentamenti.txt",
                                                             "Zervano-OdelmaVmod_27340_scheda_treno.txt"}));
    ::umount(dir.path().c_str());
#endif
}

}  // namespace
}  // namespace scenariogen
