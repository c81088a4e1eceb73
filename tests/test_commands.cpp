// The commands for route authors: compile and dump.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "format/binary_reader.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using testing::crlf;
using testing::listing;
using testing::Outcome;
using testing::run_program;
using testing::slurp;
using testing::spit;
using testing::TempDir;

TEST(CompileCommand, TheScenariosOwnDescriptionsGiveTheRunsBytes) {
    TempDir run_dir;
    ASSERT_EQ(run_program("-o " + run_dir.path().string()).status, 0);
    TempDir sources;
    spit(sources.file("linea.txt"), testing::own_line_text());
    spit(sources.file("treno.txt"), testing::own_train_text());
    TempDir out;
    const Outcome outcome = run_program("compile " + sources.file("linea.txt") + " " + sources.file("treno.txt") +
                                        " -o " + out.path().string());
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    for (const char* name :
         {"Zervano-OdelmaVmod_27340.dat", "Zervano-OdelmaVmod_27340.sim", "Zervano-OdelmaVmod_linea.dat"}) {
        EXPECT_EQ(slurp(out.file(name)), slurp(run_dir.file(name))) << name;
    }
    // The author's sources stay as they were.
    EXPECT_EQ(slurp(sources.file("linea.txt")), testing::own_line_text());
    EXPECT_EQ(slurp(sources.file("treno.txt")), testing::own_train_text());
}

// On Windows too an argument that begins with "/" is a path (a folder from the
// drive's root), never taken for an option.
TEST(CompileCommand, AnArgumentThatBeginsWithASlashIsAPath) {
    const Outcome outcome = run_program("dump /no-such-folder/x_linea.dat");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("cannot read /no-such-folder/x_linea.dat"), std::string::npos) << outcome.err;
}

TEST(CompileCommand, TheExampleLineCompilesWithItsPlacedPoints) {
    TempDir out;
    const std::string line = testing::kExamples + "valbruna_linea.txt";
    const std::string train = testing::kExamples + "valbruna_treno.txt";
    const std::string line_before = slurp(line);
    const Outcome outcome = run_program("compile " + line + " " + train + " -o " + out.path().string() +
                                        " --name Valbruna-Rocca --train 4711");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(listing(out.path()), (std::vector<std::string>{"Valbruna-Rocca_4711.dat", "Valbruna-Rocca_4711.sim",
                                                             "Valbruna-Rocca_linea.dat"}));
    EXPECT_EQ(slurp(line), line_before);
    const auto cells = decode_cells(slurp(out.file("Valbruna-Rocca_4711.dat")));
    ASSERT_EQ(cells.size(), 341u);  // (10000 + 7000) / 50 = 340
    struct Expected {
        std::size_t cell;
        std::uint8_t kind;
        std::int16_t value_1;
    };
    // A signal 12 cells before the warning gets its point (rule A); the slowdown at 4000 m gets
    // three points before its start, one 8 cells into it and one before the next signal; f_ta adds
    // four cells before the warning; the mountain's markers fall on every fourth cell.
    for (const Expected& e : std::vector<Expected>{{50, 12, 180},
                                                   {51, 1, 40},
                                                   {53, 5, 4},
                                                   {56, 5, 1},
                                                   {57, 4, 30},
                                                   {63, 12, 180},
                                                   {67, 11, 0},
                                                   {70, 12, 180},
                                                   {76, 12, 180},
                                                   {81, 3, 30},
                                                   {89, 12, 180},
                                                   {93, 2, 30},
                                                   {96, 12, 180},
                                                   {97, 1, 40},
                                                   {150, 12, 150},
                                                   {195, 10, 2}}) {
        EXPECT_EQ(cells[e.cell].kind, e.kind) << "cell " << e.cell;
        EXPECT_EQ(cells[e.cell].value_1, e.value_1) << "cell " << e.cell;
    }
    EXPECT_EQ(cells[60].mountain_kind, 2);
    EXPECT_EQ(cells[99].mountain_kind, 2);
    EXPECT_EQ(cells[100].mountain_kind, 0);
    EXPECT_EQ(cells[119].speed_limit, 22);
    EXPECT_EQ(cells[120].speed_limit, 16);
}

TEST(CompileCommand, NoGridWritesNoGridFile) {
    TempDir out;
    const Outcome outcome = run_program("compile " + testing::kExamples + "valbruna_linea.txt " + testing::kExamples +
                                        "valbruna_treno.txt --no-grid -o " + out.path().string());
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    // Named as the example's scenario.json names them.
    EXPECT_EQ(listing(out.path()), (std::vector<std::string>{"Valbruna-Rocca_4711.dat", "Valbruna-Rocca_4711.sim"}));
}

// Each fault is reported at the field of its line, as FILE:LINE:COLUMN: error N: ...
TEST(CompileCommand, DiagnosticsPointAtTheOffendingField) {
    const std::string line_ok = slurp(testing::kExamples + "valbruna_linea.txt");
    const std::string train_ok = slurp(testing::kExamples + "valbruna_treno.txt");
    const auto replace = [](std::string text, const std::string& from, const std::string& to) {
        const auto at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    struct Case {
        const char* what;
        std::string line;
        std::string train;
        std::string expected;  // the start of the diagnostic, after the folder
    };
    const std::vector<Case> cases{
        {"sign beyond the cells", replace(line_ok, "cartello_indicatore,  1500", "cartello_indicatore,  16950"),
         train_ok, "linea.txt:23:23: error 15: the sign board at 16950 m lies outside the route's cells"},
        {"board on the sign's cell", replace(line_ok, "indicatori_vmax,  600", "indicatori_vmax,  1500"), train_ok, ""},
        {"station off the 50 m grid", line_ok, replace(train_ok, "stazione,  9500", "stazione,  9510"),
         "treno.txt:13:12: error 8: the station's position 9510 m is not a multiple of 50 [not-multiple]"},
        {"number that is not one", line_ok, replace(train_ok, "sabbia,    200", "sabbia,    2x0"),
         "treno.txt:4:12: error 25: '2x0' is not a whole number"},
        {"signal on a signal", line_ok, replace(train_ok, "segnale,  4800", "segnale,  2500"),
         "treno.txt:19:11: error 16: the signal's cell (cell 51, 2500 to 2550 m) is already taken by the signal"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        spit(dir.file("linea.txt"), c.line);
        spit(dir.file("treno.txt"), c.train);
        const Outcome outcome = run_program("compile " + dir.file("linea.txt") + " " + dir.file("treno.txt") + " -o " +
                                            dir.path().string());
        EXPECT_EQ(outcome.status, 1) << c.what;
        if (!c.expected.empty()) {
            EXPECT_NE(outcome.err.find(dir.file(c.expected)), std::string::npos) << c.what << "\n" << outcome.err;
        }
        EXPECT_NE(outcome.err.find("^"), std::string::npos) << c.what;
    }
}

TEST(CompileCommand, PostProcessingFaultsStandAtTheObjectsLine) {
    // A slowdown whose start has every window cell taken by signals' neighbours is hard to
    // build by hand; a slowdown of length 0 has no end cell of its own. The check foresees the
    // fault, and the compiler's number goes with the check's words, at the slowdown's line.
    std::string train = slurp(testing::kExamples + "valbruna_treno.txt");
    train.replace(train.find("rallentamento,  4000,  30,  600"), 31, "rallentamento,  4000,  30,  0");
    TempDir dir;
    spit(dir.file("treno.txt"), train);
    const Outcome outcome = run_program("compile " + testing::kExamples + "valbruna_linea.txt " +
                                        dir.file("treno.txt") + " -o " + dir.path().string());
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find(dir.file("treno.txt:15:29: error 13: the slowdown starts and ends in the same cell")),
              std::string::npos)
        << outcome.err;
    EXPECT_EQ(outcome.err.find("no free cell"), std::string::npos) << "the fault is shown once\n" << outcome.err;
}

TEST(CompileCommand, UsageAndUnreadableFiles) {
    TempDir dir;
    EXPECT_EQ(run_program("compile").status, 2);
    EXPECT_EQ(run_program("compile " + dir.file("none.txt") + " " + testing::kExamples + "valbruna_treno.txt -o " +
                          dir.path().string())
                  .status,
              2);
    EXPECT_EQ(run_program("compile " + testing::kExamples + "valbruna_linea.txt " + testing::kExamples +
                          "valbruna_treno.txt --name a/b -o " + dir.path().string())
                  .status,
              2);
    EXPECT_TRUE(listing(dir.path()).empty());
}

TEST(DumpCommand, StationTableOfTheRunShowsStationsAndSigns) {
    TempDir dir;
    ASSERT_EQ(run_program("-o " + dir.path().string()).status, 0);
    const Outcome outcome = run_program("dump --json " + dir.file("Zervano-OdelmaVmod_27340.sim"));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const auto d = nlohmann::json::parse(outcome.out);
    ASSERT_EQ(d["stations"].size(), 9u);
    EXPECT_EQ(d["stations"][0]["name"], "ZERVANO");
    EXPECT_EQ(d["stations"][0]["time"], "6:33:00");
    EXPECT_EQ(d["stations"][8]["name"], "ODELMA P.LIVARA");
    EXPECT_EQ(d["stations"][8]["time"], "7:25:00");
    EXPECT_EQ(d["signs"].size(), 37u);
    EXPECT_EQ(d["train"]["route_length_m"], 46000);
    EXPECT_EQ(d["scenario"]["header"], 610);
    EXPECT_EQ(d["clock"], "6:32:50");
}

TEST(DumpCommand, CellsOfTheRunShowTheTwelveSignals) {
    TempDir dir;
    ASSERT_EQ(run_program("-o " + dir.path().string()).status, 0);
    const Outcome outcome = run_program("dump --json " + dir.file("Zervano-OdelmaVmod_27340.dat"));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const auto d = nlohmann::json::parse(outcome.out);
    std::vector<int> signals;
    for (const auto& row : d["rows"]) {
        if (row["object"] == "signal") signals.push_back(row["cell"]);
    }
    EXPECT_EQ(signals, (std::vector<int>{65, 91, 213, 237, 422, 447, 607, 631, 737, 761, 800, 861}));
    const Outcome table = run_program("dump " + dir.file("Zervano-OdelmaVmod_27340.dat"));
    EXPECT_NE(table.out.find("   65     3200  signal"), std::string::npos) << table.out;
}

TEST(DumpCommand, GridEveryNMetres) {
    TempDir dir;
    ASSERT_EQ(run_program("-o " + dir.path().string()).status, 0);
    const Outcome outcome = run_program("dump --json --every 650 " + dir.file("Zervano-OdelmaVmod_linea.dat"));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const auto d = nlohmann::json::parse(outcome.out);
    EXPECT_EQ(d["rows"][1]["metre"], 650);
    EXPECT_EQ(d["rows"][1]["x"], 0.0);
    EXPECT_EQ(d["rows"][1]["y"], 650.0);
    EXPECT_EQ(d["last_metre"], 53000);
    EXPECT_EQ(d["computed_metres"], 52999);
}

TEST(DumpCommand, MalformedFilesAreRefusedWithTheirOffset) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        std::string message;
    };
    const std::vector<Case> cases{
        {"cut.dat", std::string(20, '\0'), "at byte offset 16"},
        {"cut.sim", std::string(40, '\0'), "at byte offset 39"},
        {"bad_linea.dat", std::string("\x02\x00\x00\x00\x09\x00", 6), "unknown grid value tag 9 at byte offset 4"},
        {"empty.bin", "", "neither a cell file"},
    };
    for (const Case& c : cases) {
        spit(dir.file(c.name), c.bytes);
        const Outcome outcome = run_program("dump " + dir.file(c.name));
        EXPECT_EQ(outcome.status, 1) << c.name;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << c.name << ": " << outcome.err;
    }
    EXPECT_EQ(run_program("dump " + dir.file("missing.dat")).status, 2);
}

}  // namespace
}  // namespace scenariogen
