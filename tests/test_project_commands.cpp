// A folder is a project: every command finds the same descriptions and
// names in it, from the command line, its scenario.json, the descriptions'
// file names or, said in a warning, the fixed scenario's names; and a
// broken scenario.json is shown at its line in every command.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

namespace scenariogen {
namespace {

using testing::in_folder;
using testing::listing;
using testing::Outcome;
using testing::run_command;
using testing::run_program;
using testing::TempDir;

const std::string kProgram = SCENARIOGEN_EXECUTABLE;

void copy_example(const std::string& name, const TempDir& dir, const std::string& as) {
    std::filesystem::copy_file(testing::kExamples + name, dir.file(as));
}

// A folder set up as an author would, and what every command calls its scenario.
struct AuthorsFolder {
    const char* what;
    std::string line_as;    // the example line description's name there
    std::string train_as;   // the example train description's
    bool with_project;      // the example's scenario.json beside them
    std::string arguments;  // what names the scenario on the command line
    std::string scenario;   // NAME_NUMBER
    std::string name;       // NAME
    bool warned;            // the fixed scenario's names, said in a warning
};

const AuthorsFolder kFolders[] = {
    {"the command line", "linea.txt", "treno.txt", false, "linea.txt treno.txt --name Alto --train 12", "Alto_12",
     "Alto", false},
    {"scenario.json, no arguments", "valbruna_linea.txt", "valbruna_treno.txt", true, "", "Valbruna-Rocca_4711",
     "Valbruna-Rocca", false},
    {"scenario.json beside LINE", "valbruna_linea.txt", "valbruna_treno.txt", true,
     "valbruna_linea.txt valbruna_treno.txt", "Valbruna-Rocca_4711", "Valbruna-Rocca", false},
    {"the file names", "Valle_linea.txt", "Valle_88-.txt", false, "Valle_linea.txt Valle_88-.txt", "Valle_88", "Valle",
     false},
    {"nothing", "linea.txt", "treno.txt", false, "linea.txt treno.txt", "Zervano-OdelmaVmod_27340",
     "Zervano-OdelmaVmod", true},
};

void set_up(const AuthorsFolder& folder, const TempDir& dir) {
    copy_example("valbruna_linea.txt", dir, folder.line_as);
    copy_example("valbruna_treno.txt", dir, folder.train_as);
    if (folder.with_project) copy_example("scenario.json", dir, "scenario.json");
}

std::vector<std::string> scenario_files(const std::string& scenario, const std::string& name) {
    return {scenario + ".dat", scenario + ".sim", name + "_linea.dat"};
}

bool holds(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(ProjectFolders, EveryCommandFindsTheSameNames) {
    for (const AuthorsFolder& folder : kFolders) {
        SCOPED_TRACE(folder.what);
        TempDir dir;
        set_up(folder, dir);
        const Outcome compiled = run_command(in_folder(dir.path()) + kProgram + " compile " + folder.arguments);
        ASSERT_EQ(compiled.status, 0) << compiled.err;
        for (const std::string& file : scenario_files(folder.scenario, folder.name)) {
            EXPECT_TRUE(holds(listing(dir.path()), file)) << file;
            // The warning names each file it writes under the fixed scenario's names.
            EXPECT_EQ(compiled.err.find(file) != std::string::npos, folder.warned) << compiled.err;
        }
        EXPECT_EQ(compiled.err.find("warning: ") != std::string::npos, folder.warned) << compiled.err;

        const Outcome checked = run_command(in_folder(dir.path()) + kProgram + " check " + folder.arguments);
        EXPECT_EQ(checked.status, 0) << checked.err;

        // plot finds the one compiled scenario, or the one scenario.json names.
        const Outcome plotted = run_program("plot " + dir.path().string());
        EXPECT_EQ(plotted.status, 0) << plotted.err;
        EXPECT_TRUE(holds(listing(dir.path()), folder.scenario + ".svg"));
    }
}

TEST(ProjectFolders, ThePreviewWritesUnderTheSameNames) {
    SKIP_ON_WINDOWS("a POSIX shell starts and stops the preview");
    for (const AuthorsFolder& folder : kFolders) {
        SCOPED_TRACE(folder.what);
        TempDir dir;
        set_up(folder, dir);
        std::filesystem::create_directory(dir.path() / "out");
        // Started, left until it has written its first compilation, stopped.
        const std::string grid = "out/" + folder.name + "_linea.dat";
        const Outcome previewed =
            run_command(in_folder(dir.path()) + "{ " + kProgram + " preview " + folder.arguments +
                        " --port 0 --write out & pid=$!; i=0; while [ ! -e " + grid +
                        " ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done; kill $pid; wait $pid; }");
        std::vector<std::string> expected = scenario_files(folder.scenario, folder.name);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(listing(dir.path() / "out"), expected) << previewed.err;
        EXPECT_EQ(previewed.err.find("warning: ") != std::string::npos, folder.warned) << previewed.err;
    }
}

TEST(ProjectFolders, CompileAloneInTheExamplesFolderWritesItsOwnScenario) {
    TempDir dir;
    for (const char* name : {"scenario.json", "valbruna_linea.txt", "valbruna_treno.txt"})
        copy_example(name, dir, name);
    const Outcome compiled = run_command(in_folder(dir.path()) + kProgram + " compile");
    ASSERT_EQ(compiled.status, 0) << compiled.err;
    EXPECT_EQ(compiled.err, "");
    EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"Valbruna-Rocca_4711.dat", "Valbruna-Rocca_4711.sim",
                                                             "Valbruna-Rocca_linea.dat", "scenario.json",
                                                             "valbruna_linea.txt", "valbruna_treno.txt"}));
    const Outcome plotted = run_command(in_folder(dir.path()) + kProgram + " plot .");
    ASSERT_EQ(plotted.status, 0) << plotted.err;
    EXPECT_TRUE(holds(listing(dir.path()), "Valbruna-Rocca_4711.svg"));
    // From elsewhere, -C names the folder, and the files are the same.
    TempDir elsewhere;
    const std::string before = testing::slurp(dir.file("Valbruna-Rocca_4711.dat"));
    std::filesystem::remove(dir.file("Valbruna-Rocca_4711.dat"));
    const Outcome again = run_command(in_folder(elsewhere.path()) + kProgram + " compile -C " + dir.path().string());
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(testing::slurp(dir.file("Valbruna-Rocca_4711.dat")), before);
    EXPECT_TRUE(listing(elsewhere.path()).empty());
}

TEST(ProjectFolders, SeveralCompiledScenariosAreListedForPlot) {
    TempDir dir;
    for (const char* scenario : {"A_1", "B_2"}) {
        std::string name(scenario, 1);
        for (const std::string& file : scenario_files(scenario, name)) testing::spit(dir.file(file), "");
    }
    const Outcome plotted = run_program("plot " + dir.path().string());
    EXPECT_EQ(plotted.status, 2);
    EXPECT_NE(plotted.err.find("holds several compiled scenarios: A_1, B_2; choose one with --name and --train"),
              std::string::npos)
        << plotted.err;
}

// The project file's fault, as every command prints it.
TEST(ProjectFolders, ABrokenScenarioJsonStopsEveryCommandAtItsLine) {
    TempDir dir;
    copy_example("valbruna_linea.txt", dir, "valbruna_linea.txt");
    copy_example("valbruna_treno.txt", dir, "valbruna_treno.txt");
    testing::spit(dir.file("scenario.json"),
                  "{\n  \"line\": \"valbruna_linea.txt\",\n  \"trian\": \"valbruna_treno.txt\"\n}\n");
    const std::string expected =
        "scenario.json:3:3: error: unknown member \"trian\"; did you mean \"train\"?\n"
        "    \"trian\": \"valbruna_treno.txt\"\n"
        "    ^~~~~~~\n";
    for (const std::string command :
         {"compile", "check", "plot", "preview --port 70000", "compile valbruna_linea.txt valbruna_treno.txt"}) {
        const Outcome outcome = run_command(in_folder(dir.path()) + kProgram + " " + command);
        EXPECT_EQ(outcome.status, 2) << command;
        EXPECT_EQ(outcome.err.substr(0, expected.size()), expected) << command << "\n" << outcome.err;
    }
    EXPECT_EQ(listing(dir.path()),
              (std::vector<std::string>{"scenario.json", "valbruna_linea.txt", "valbruna_treno.txt"}));
}

}  // namespace
}  // namespace scenariogen
