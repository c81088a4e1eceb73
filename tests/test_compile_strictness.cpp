// The compile command for an author: strict by default (every fault of both
// files in one run, nothing written when there is one), and --permissive
// exactly as the command has always behaved, for the scripts that rely on it.
#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace scenariogen {
namespace {

using testing::listing;
using testing::Outcome;
using testing::slurp;
using testing::spit;
using testing::TempDir;

const std::string kFixtures = std::string(SCENARIOGEN_SOURCE_DIR) + "/tests/fixtures/permissive/";
// Each fixture folder holds a faulty pair of descriptions and what the
// permissive command printed, returned and wrote for it.
std::vector<std::string> fixture_cases() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kFixtures)) {
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Outcome compile_in(const TempDir& dir, const std::string& options) {
    return testing::run_command(testing::in_folder(dir.path()) + SCENARIOGEN_EXECUTABLE +
                                " compile linea.txt treno.txt -o . --no-grid --name P --train 1 " + options);
}

void copy_descriptions(const std::string& name, const TempDir& dir) {
    spit(dir.file("linea.txt"), slurp(kFixtures + name + "/linea.txt"));
    spit(dir.file("treno.txt"), slurp(kFixtures + name + "/treno.txt"));
}

TEST(CompileStrictness, PermissiveIsTheEarlierBehaviourByteForByte) {
    const std::vector<std::string> cases = fixture_cases();
    ASSERT_FALSE(cases.empty());
    for (const std::string& name : cases) {
        SCOPED_TRACE(name);
        TempDir dir;
        copy_descriptions(name, dir);
        const Outcome outcome = compile_in(dir, "--permissive");
        EXPECT_EQ(std::to_string(outcome.status) + "\n", slurp(kFixtures + name + "/status.txt"));
        EXPECT_EQ(outcome.err, slurp(kFixtures + name + "/stderr.txt"));
        for (const char* file : {"P_1.dat", "P_1.sim"}) {
            EXPECT_EQ(slurp(dir.file(file)), slurp(kFixtures + name + "/" + file)) << file;
        }
    }
}

TEST(CompileStrictness, AFaultyCompileWritesNothingAndKeepsTheEarlierFiles) {
    for (const std::string& name : fixture_cases()) {
        SCOPED_TRACE(name);
        TempDir dir;
        copy_descriptions(name, dir);
        spit(dir.file("P_1.dat"), "earlier cells");
        spit(dir.file("P_1.sim"), "earlier stations");
        const Outcome outcome = compile_in(dir, "");
        EXPECT_EQ(outcome.status, 1) << outcome.err;
        EXPECT_NE(outcome.err.find("error"), std::string::npos);
        EXPECT_NE(outcome.err.find("no file was written"), std::string::npos) << outcome.err;
        EXPECT_EQ(slurp(dir.file("P_1.dat")), "earlier cells");
        EXPECT_EQ(slurp(dir.file("P_1.sim")), "earlier stations");
        EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"P_1.dat", "P_1.sim", "linea.txt", "treno.txt"}));
    }
}

TEST(CompileStrictness, FourFaultsInTwoFilesShowInOneRun) {
    std::string line = slurp(testing::kExamples + "valbruna_linea.txt");
    std::string train = slurp(testing::kExamples + "valbruna_treno.txt");
    line.replace(line.find("pendenza,  5000"), 15, "pendneza,  5000");
    line.replace(line.find("pendenza,  3000,  8"), 19, "pendenza,  3000,  180");
    train.replace(train.find("sabbia,    200"), 14, "sabbia,    2x0");
    train.replace(train.find("stazione,  9500"), 15, "stazione,  9510");
    TempDir dir;
    spit(dir.file("linea.txt"), line);
    spit(dir.file("treno.txt"), train);
    const Outcome outcome = compile_in(dir, "");
    EXPECT_EQ(outcome.status, 1);
    for (const char* expected : {"linea.txt:15:", "linea.txt:16:", "treno.txt:4:", "treno.txt:13:"}) {
        EXPECT_NE(outcome.err.find(expected), std::string::npos) << expected << "\n" << outcome.err;
    }
    EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"linea.txt", "treno.txt"}));
}

// The example pair as linea.txt and treno.txt in `dir`, the train's clock
// line left out: legal, but suspicious (a warning).
void write_example_without_clock(const TempDir& dir) {
    std::string train = slurp(testing::kExamples + "valbruna_treno.txt");
    const std::size_t clock = train.find("orologio");
    ASSERT_NE(clock, std::string::npos);
    train.erase(clock, train.find("\r\n", clock) + 2 - clock);
    spit(dir.file("linea.txt"), slurp(testing::kExamples + "valbruna_linea.txt"));
    spit(dir.file("treno.txt"), train);
}

TEST(CompileStrictness, WarningSwitchesAndTheErrorLimit) {
    TempDir dir;
    write_example_without_clock(dir);

    const Outcome warned = compile_in(dir, "");
    EXPECT_EQ(warned.status, 0) << warned.err;
    EXPECT_NE(warned.err.find("warning:"), std::string::npos);
    EXPECT_NE(warned.err.find("[missing-setting]"), std::string::npos) << warned.err;
    EXPECT_TRUE(std::filesystem::exists(dir.file("P_1.dat")));

    const Outcome quiet = compile_in(dir, "-Wno-missing-setting");
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.err.find("missing-setting"), std::string::npos) << quiet.err;

    std::filesystem::remove(dir.file("P_1.dat"));
    const Outcome strict = compile_in(dir, "-Werror");
    EXPECT_EQ(strict.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("P_1.dat")));

    EXPECT_EQ(compile_in(dir, "-Wno-such-warning").status, 2);
    EXPECT_EQ(compile_in(dir, "-fmax-errors=x").status, 2);
}

// A -W or -f flag takes its own value only, so it may stand before LINE and
// TRAIN as well as after them.
TEST(CompileStrictness, WarningFlagsMayStandBeforeTheFiles) {
    TempDir dir;
    write_example_without_clock(dir);
    for (const std::string command :
         {"compile -Wno-missing-setting -fmax-errors=1 linea.txt treno.txt -o .",
          "compile -Werror=missing-setting -Wno-error=missing-setting linea.txt treno.txt -o .",
          "check -Wno-missing-setting -fmax-errors=1 linea.txt treno.txt --braking 0.5"}) {
        const Outcome outcome =
            testing::run_command(testing::in_folder(dir.path()) + SCENARIOGEN_EXECUTABLE + " " + command);
        EXPECT_EQ(outcome.status, 0) << command << "\n" << outcome.err;
    }
    const Outcome strict = testing::run_command(testing::in_folder(dir.path()) + SCENARIOGEN_EXECUTABLE +
                                                " compile -Werror=missing-setting linea.txt treno.txt -o .");
    EXPECT_EQ(strict.status, 1) << strict.err;
    EXPECT_NE(strict.err.find("error: "), std::string::npos) << strict.err;
}

TEST(CompileStrictness, TheErrorLimitCutsTheListAndSaysSo) {
    std::vector<std::string> lines{"[generale]", "lunghezza percorso,  10000", "[curve]"};
    for (int i = 0; i < 8; ++i) lines.push_back("pendneza,  " + std::to_string(1000 + 100 * i) + ",  0");
    lines.push_back("[fine]");
    TempDir dir;
    spit(dir.file("linea.txt"), testing::crlf(lines));
    spit(dir.file("treno.txt"), slurp(testing::kExamples + "valbruna_treno.txt"));
    const Outcome limited = compile_in(dir, "-fmax-errors=3");
    EXPECT_EQ(limited.status, 1);
    std::size_t shown = 0;
    for (std::size_t at = limited.err.find("[unknown-keyword]"); at != std::string::npos;
         at = limited.err.find("[unknown-keyword]", at + 1)) {
        ++shown;
    }
    EXPECT_EQ(shown, 3u) << limited.err;
    EXPECT_NE(limited.err.find("more errors not shown"), std::string::npos) << limited.err;
}

}  // namespace
}  // namespace scenariogen
