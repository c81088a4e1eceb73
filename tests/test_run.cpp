// The program as its users start it: the generation run from the command line.
#include <gtest/gtest.h>

#include "test_support.h"

namespace scenariogen {
namespace {

using testing::listing;
using testing::Outcome;
using testing::run_program;
using testing::slurp;
using testing::spit;
using testing::TempDir;

const std::vector<std::string> kOutputs{
    "Zervano-OdelmaVmod_27340.dat",
    "Zervano-OdelmaVmod_27340.sim",
    "Zervano-OdelmaVmod_27340_note.txt",
    "Zervano-OdelmaVmod_27340_rallentamenti.txt",
    "Zervano-OdelmaVmod_27340_scheda_treno.txt",
    "Zervano-OdelmaVmod_linea.dat",
};

TEST(Run, WritesExactlyTheSixFilesAndSucceeds) {
    TempDir dir;
    const Outcome outcome = run_program("-o " + dir.path().string());
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.err.find("Attendere"), std::string::npos);
    EXPECT_EQ(listing(dir.path()), kOutputs);
    // Every byte of every file, against the copies in tests/golden.
    for (const std::string& name : kOutputs) {
        EXPECT_EQ(slurp(dir.file(name)), slurp(std::string(SCENARIOGEN_SOURCE_DIR) + "/tests/golden/" + name)) << name;
    }
    EXPECT_EQ(slurp(dir.file("Zervano-OdelmaVmod_27340.dat")).size(), 16976u);
}

TEST(Run, TwoRunsGiveIdenticalBytesAndLeaveOtherFilesAlone) {
    TempDir dir;
    spit(dir.file("mine.txt"), "keep me");
    spit(dir.file("Zervano-OdelmaVmod_27340.dat"), std::string(100000, 'x'));  // a longer earlier file
    ASSERT_EQ(run_program("-o " + dir.path().string()).status, 0);
    std::vector<std::string> first;
    for (const auto& name : kOutputs) first.push_back(slurp(dir.file(name)));
    ASSERT_EQ(run_program("-o " + dir.path().string()).status, 0);
    for (std::size_t i = 0; i < kOutputs.size(); ++i) EXPECT_EQ(slurp(dir.file(kOutputs[i])), first[i]) << kOutputs[i];
    EXPECT_EQ(slurp(dir.file("mine.txt")), "keep me");
    EXPECT_EQ(first[0].size(), 16976u);
}

TEST(Run, HelpAndBadArguments) {
    const Outcome help = run_program("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--output"), std::string::npos);

    TempDir dir;
    for (const std::string args : {"--bogus", "extra", "-o"}) {
        const Outcome bad = run_program(args + " -o " + dir.path().string());
        EXPECT_EQ(bad.status, 2) << args;
        EXPECT_FALSE(bad.err.empty()) << args;
    }
    EXPECT_TRUE(listing(dir.path()).empty());
}

TEST(Run, AMissingOutputFolderIsReportedAndNothingIsWritten) {
    TempDir dir;
    const Outcome outcome = run_program("-o " + dir.file("missing"));
    EXPECT_NE(outcome.status, 0);
    EXPECT_NE(outcome.err.find(dir.file("missing")), std::string::npos);
    EXPECT_TRUE(listing(dir.path()).empty());
}

TEST(Run, AnOutputThatCannotBeReplacedNamesTheFileAndLeavesNoTemporaryFile) {
    TempDir dir;
    // A folder where the cell file should go: it cannot be replaced by a file.
    std::filesystem::create_directory(dir.file("Zervano-OdelmaVmod_27340.dat"));
    const Outcome outcome = run_program("-o " + dir.path().string());
    EXPECT_EQ(outcome.status, 3);
    EXPECT_NE(outcome.err.find("Zervano-OdelmaVmod_27340.dat"), std::string::npos);
    for (const auto& name : listing(dir.path())) EXPECT_NE(name.front(), '.') << name;
}

TEST(Run, AReadOnlyFolderKeepsItsFiles) {
    SKIP_ON_WINDOWS("a read-only Windows folder still takes new files");
    if (testing::running_as_superuser()) GTEST_SKIP() << "the superuser writes into read-only folders";
    TempDir dir;
    spit(dir.file("Zervano-OdelmaVmod_27340_note.txt"), "old");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const Outcome outcome = run_program("-o " + dir.path().string());
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(outcome.status, 3);
    EXPECT_EQ(slurp(dir.file("Zervano-OdelmaVmod_27340_note.txt")), "old");
}

TEST(Run, WritesBesideTheProgramByDefault) {
    // The program's folder comes from the running process, not from the current directory.
    TempDir dir;
    const std::string copy = dir.file(std::filesystem::path(SCENARIOGEN_EXECUTABLE).filename().string());
    std::filesystem::copy_file(SCENARIOGEN_EXECUTABLE, copy);
    TempDir elsewhere;
    ASSERT_EQ(testing::run_command(testing::in_folder(elsewhere.path()) + copy).status, 0);
    EXPECT_TRUE(listing(elsewhere.path()).empty());
    EXPECT_EQ(listing(dir.path()).size(), kOutputs.size() + 1);
}

}  // namespace
}  // namespace scenariogen
