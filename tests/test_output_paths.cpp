// Output names that are not plain files: the standard output, links, devices
// and folders; and compile, which never writes over the files it reads.
#include <gtest/gtest.h>

#include <functional>

#include "test_support.h"

namespace scenariogen {
namespace {

using testing::folder_contents;
using testing::listing;
using testing::Outcome;
using testing::run_command;
using testing::run_program;
using testing::slurp;
using testing::spit;
using testing::TempDir;

namespace fs = std::filesystem;

// A folder with the example compiled into it as "Valbruna-Rocca_4711".
class CompiledExample : public ::testing::Test {
protected:
    void SetUp() override {
        const Outcome outcome =
            run_program("compile " + testing::kExamples + "valbruna_linea.txt " + testing::kExamples +
                        "valbruna_treno.txt -o " + folder() + " --name Valbruna-Rocca --train 4711");
        ASSERT_EQ(outcome.status, 0) << outcome.err;
    }
    std::string folder() const { return dir.path().string(); }
    std::string plot_args() const { return "plot " + folder() + " --name Valbruna-Rocca --train 4711"; }
    TempDir dir;
};

TEST_F(CompiledExample, ADashWritesToTheStandardOutput) {
    ASSERT_EQ(run_program(plot_args()).status, 0);
    const std::string picture = slurp(dir.file("Valbruna-Rocca_4711.svg"));
    const Outcome plotted = run_program(plot_args() + " -o -");
    EXPECT_EQ(plotted.status, 0) << plotted.err;
    EXPECT_EQ(plotted.out, picture);

    const std::string cells = dir.file("Valbruna-Rocca_4711.dat");
    const Outcome shown = run_program("dump " + cells);
    ASSERT_EQ(shown.status, 0);
    EXPECT_EQ(run_program("dump " + cells + " -o -").out, shown.out);
    TempDir other;
    EXPECT_EQ(run_program("dump " + cells + " -o " + other.file("cells.txt")).status, 0);
    EXPECT_EQ(slurp(other.file("cells.txt")), shown.out);
}

TEST_F(CompiledExample, DevStdoutIsWrittenThroughAndStaysALink) {
    SKIP_ON_WINDOWS("/dev/stdout is a POSIX name");
    ASSERT_TRUE(fs::is_symlink("/dev/stdout"));
    const auto link_before = fs::read_symlink("/dev/stdout");
    const Outcome plotted = run_program(plot_args() + " -o /dev/stdout");
    EXPECT_EQ(plotted.status, 0) << plotted.err;
    EXPECT_EQ(plotted.out, run_program(plot_args() + " -o -").out);
    EXPECT_TRUE(fs::is_symlink("/dev/stdout"));
    EXPECT_EQ(fs::read_symlink("/dev/stdout"), link_before);
    // A device keeps being one.
    EXPECT_EQ(run_program(plot_args() + " -o /dev/null").status, 0);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(CompiledExample, ALinkedPictureKeepsItsLink) {
    SKIP_ON_WINDOWS("symbolic links need a privilege on Windows");
    TempDir pictures;
    spit(pictures.file("plan.svg"), "an earlier picture");
    fs::create_symlink(pictures.file("plan.svg"), dir.file("link.svg"));
    EXPECT_EQ(run_program(plot_args() + " -o " + dir.file("link.svg")).status, 0);
    EXPECT_TRUE(fs::is_symlink(dir.file("link.svg")));
    EXPECT_EQ(slurp(pictures.file("plan.svg")), run_program(plot_args() + " -o -").out);
    EXPECT_EQ(listing(pictures.path()), std::vector<std::string>{"plan.svg"});
}

TEST_F(CompiledExample, AFolderAsThePictureIsRefusedByName) {
    fs::create_directory(dir.file("taken.svg"));
    const auto before = listing(dir.path());
    const Outcome outcome = run_program(plot_args() + " -o " + dir.file("taken.svg"));
    EXPECT_EQ(outcome.status, 3);
    EXPECT_NE(outcome.err.find(dir.file("taken.svg") + ": is a folder"), std::string::npos) << outcome.err;
    EXPECT_EQ(listing(dir.path()), before);
    EXPECT_TRUE(listing(dir.file("taken.svg")).empty());
}

TEST(OutputNames, ARunWhoseOutputNameIsAFolderChangesNothing) {
    for (const char* taken :
         {"Zervano-OdelmaVmod_27340_note.txt", "Zervano-OdelmaVmod_27340.dat", "Zervano-OdelmaVmod_linea.txt"}) {
        TempDir dir;
        spit(dir.file("Zervano-OdelmaVmod_27340.sim"), "earlier");
        fs::create_directory(dir.file(taken));
        const auto before = folder_contents(dir.path());
        const Outcome outcome = run_program("-o " + dir.path().string());
        EXPECT_EQ(outcome.status, 3) << taken;
        EXPECT_NE(outcome.err.find(dir.file(taken) + ": is a folder"), std::string::npos) << outcome.err;
        EXPECT_EQ(folder_contents(dir.path()), before) << taken;
    }
}

// compile LINE TRAIN -o DIR: in each case one of the outputs that compile
// would write is LINE, and compile refuses before it writes anything.
TEST(OutputNames, CompileNeverWritesOverItsSources) {
    const std::string line_text = slurp(testing::kExamples + "valbruna_linea.txt");
    // Each makes the line file in the folder and gives the LINE argument.
    using MakeLine = std::function<std::string(const TempDir&)>;
    const auto named = [&](const char* name) {
        return [&line_text, name](const TempDir& dir) {
            spit(dir.file(name), line_text);
            return dir.file(name);
        };
    };
    const auto linked = [&](bool hard) {
        return [&line_text, hard](const TempDir& dir) {
            spit(dir.file("linea.txt"), line_text);
            if (hard) {
                fs::create_hard_link(dir.file("linea.txt"), dir.file("Colle_linea.dat"));
            } else {
                fs::create_symlink(dir.file("linea.txt"), dir.file("Colle_linea.dat"));
            }
            return dir.file("linea.txt");
        };
    };
    struct Case {
        const char* what;
        const char* names;
        MakeLine make_line;
        bool needs_links;
    } cases[] = {
        {"the line file under the grid's name", "--name Colle", named("Colle_linea.dat"), false},
        {"the line file under the cells' name", "--name Colle --train 9", named("Colle_9.dat"), false},
        {"the line file under the table's name, spelt another way", "--name Colle --train 9",
         [&](const TempDir& dir) {
             named("Colle_9.sim")(dir);
             fs::create_directory(dir.file("sub"));
             return (dir.path() / "sub" / ".." / "Colle_9.sim").string();
         },
         false},
        {"an output that is a hard link to the line file", "--name Colle", linked(true), true},
        {"an output that is a symbolic link to the line file", "--name Colle", linked(false), true},
    };
    for (const Case& c : cases) {
#ifdef _WIN32
        if (c.needs_links) continue;  // links need a privilege on Windows
#endif
        SCOPED_TRACE(c.what);
        TempDir dir;
        spit(dir.file("treno.txt"), slurp(testing::kExamples + "valbruna_treno.txt"));
        const std::string line = c.make_line(dir);
        const auto before = folder_contents(dir.path());
        const Outcome outcome =
            run_program("compile " + line + " " + dir.file("treno.txt") + " -o " + dir.path().string() + " " + c.names);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_NE(outcome.err.find(line + " is the output"), std::string::npos) << outcome.err;
        EXPECT_EQ(folder_contents(dir.path()), before);
    }
}

}  // namespace
}  // namespace scenariogen
