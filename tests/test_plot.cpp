// The plot command: the plan and the profile of a compiled scenario as one
// SVG page.
#include <gtest/gtest.h>

#include <cstring>

#include <cmath>
#include <limits>
#include <map>
#include <memory>

#include "format/binary_files.h"
#include "format/binary_format.h"
#include "format/binary_reader.h"
#include "format/records.h"
#include "format/scenario_files.h"
#include "test_support.h"
#include "views/plot/scenario_plot.h"

namespace scenariogen {
namespace {

using testing::Outcome;
using testing::run_command;
using testing::run_program;
using testing::slurp;
using testing::spit;
using testing::TempDir;

std::size_t count_of(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

bool tool_installed(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

const std::string kCells = "Zervano-OdelmaVmod_27340.dat";
const std::string kTable = "Zervano-OdelmaVmod_27340.sim";
const std::string kGrid = "Zervano-OdelmaVmod_linea.dat";
// The example's scenario.json names it otherwise: these names are chosen.
const std::string kFixedNames = " --name Zervano-OdelmaVmod --train 27340";
const std::string kPicture = "Zervano-OdelmaVmod_27340.svg";

// The drawn centre line must pass within `tolerance_mm` on the page of
// every `every`-th metre of the grid.
void expect_track_follows_grid(const ScenarioPlot& plot, const DecodedGrid& grid, std::int32_t every,
                               double tolerance_mm) {
    const auto& metres = plot.track_metres;
    ASSERT_GE(metres.size(), 2u);
    std::size_t k = 0;
    double worst = 0;
    std::int32_t worst_metre = 0;
    for (std::int32_t m = 0; m <= plot.last_computed_metre; m += every) {
        while (k + 2 < metres.size() && metres[k + 1] < m) ++k;
        const PlanPoint a = plot.track[k], b = plot.track[k + 1];
        const double px = grid.x[static_cast<std::size_t>(m)].value, py = grid.y[static_cast<std::size_t>(m)].value;
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double t = std::clamp(((px - a.x) * dx + (py - a.y) * dy) / std::max(dx * dx + dy * dy, 1e-12), 0.0, 1.0);
        const double d = std::hypot(px - (a.x + t * dx), py - (a.y + t * dy)) * plot.plan_mapping.scale;
        if (d > worst) {
            worst = d;
            worst_metre = m;
        }
    }
    EXPECT_LE(worst, tolerance_mm) << "metre " << worst_metre;
}

const RunDrawing kWithTheRun{.driving_curve = true, .time_distance_graph = false, .model = {}};

// The fixed generation run, compiled once into a folder and plotted there.
class PlotOfTheRun : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<TempDir>();
        const Outcome run = run_program("-o " + dir_->path().string());
        ASSERT_EQ(run.status, 0) << run.err;
        // As the command draws it: with the train's fastest run.
        plot_ = std::make_unique<ScenarioPlot>(
            plot_scenario(slurp(dir_->file(kCells)), slurp(dir_->file(kTable)), slurp(dir_->file(kGrid)), kWithTheRun));
    }
    static void TearDownTestSuite() {
        plot_.reset();
        dir_.reset();
    }
    static std::string folder() { return dir_->path().string(); }
    static const ScenarioPlot& plot() { return *plot_; }

    static std::unique_ptr<TempDir> dir_;
    static std::unique_ptr<ScenarioPlot> plot_;
};
std::unique_ptr<TempDir> PlotOfTheRun::dir_;
std::unique_ptr<ScenarioPlot> PlotOfTheRun::plot_;

TEST_F(PlotOfTheRun, TheCommandWritesThePageBesideTheFilesOrWhereToldAndNothingElse) {
    TempDir work;
    for (const std::string& name : {kCells, kTable, kGrid}) spit(work.file(name), slurp(dir_->file(name)));
    const Outcome by_default = run_program("plot " + work.path().string());
    EXPECT_EQ(by_default.status, 0) << by_default.err;
    EXPECT_EQ(by_default.err, "");
    EXPECT_EQ(slurp(work.file(kPicture)), plot().svg);

    TempDir elsewhere;
    const Outcome told = run_program("plot " + work.path().string() + " -o " + elsewhere.file("page.svg"));
    EXPECT_EQ(told.status, 0) << told.err;
    EXPECT_EQ(testing::listing(elsewhere.path()), std::vector<std::string>{"page.svg"});
    EXPECT_EQ(slurp(elsewhere.file("page.svg")), plot().svg);
    EXPECT_EQ(testing::listing(work.path()), (std::vector<std::string>{kCells, kTable, kPicture, kGrid}));
}

TEST_F(PlotOfTheRun, ThePageIsWellFormedXml) {
    if (!tool_installed("xmllint")) GTEST_SKIP() << "xmllint is not installed (scripts/bootstrap installs it)";
    TempDir out;
    spit(out.file("page.svg"), plot().svg);
    const Outcome lint = run_command("xmllint --noout " + out.file("page.svg"));
    EXPECT_EQ(lint.status, 0);
    EXPECT_EQ(lint.err, "");
}

TEST_F(PlotOfTheRun, ThePageRendersToPngWithoutWarnings) {
    if (!tool_installed("rsvg-convert"))
        GTEST_SKIP() << "rsvg-convert is not installed (scripts/bootstrap installs it)";
    TempDir out;
    spit(out.file("page.svg"), plot().svg);
    const Outcome render = run_command("rsvg-convert " + out.file("page.svg") + " -o " + out.file("page.png"));
    EXPECT_EQ(render.status, 0);
    EXPECT_EQ(render.err, "");
    EXPECT_EQ(slurp(out.file("page.png")).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
}

TEST_F(PlotOfTheRun, ThePlanStartsAtTheOriginHeadingNorthAndEndsAtTheLastComputedMetre) {
    const ScenarioPlot& p = plot();
    // The route is 46000 m: the grid runs to metre 53000, computed up to 52998.
    EXPECT_EQ(p.last_computed_metre, 52998);
    ASSERT_GE(p.track.size(), 2u);
    EXPECT_EQ(p.track_metres.front(), 0);
    EXPECT_EQ(p.track.front().x, 0);
    EXPECT_EQ(p.track.front().y, 0);
    // The first drawn stretch runs along +y (the first curve starts at 650 m),
    // and +y is up the page.
    EXPECT_GT(p.track[1].y, 600);
    EXPECT_LT(std::abs(std::atan2(p.track[1].x, p.track[1].y)), 0.035);
    const PagePoint origin = p.plan_mapping.page({0, 0});
    const PagePoint north = p.plan_mapping.page({0, 650});
    EXPECT_DOUBLE_EQ(north.x, origin.x);
    EXPECT_LT(north.y, origin.y);

    const DecodedGrid grid = decode_grid(slurp(dir_->file(kGrid)));
    ASSERT_EQ(grid.x.size(), 53001u);
    EXPECT_EQ(grid.x[52999].tag, format::grid::kEmpty);
    EXPECT_EQ(p.track_metres.back(), 52998);
    EXPECT_EQ(p.track.back().x, grid.x[52998].value);
    EXPECT_EQ(p.track.back().y, grid.y[52998].value);
    // Thinned, yet true to the grid at the scale of the page.
    EXPECT_LT(p.track.size(), 5000u);
    expect_track_follows_grid(p, grid, 1, 0.05);
}

TEST_F(PlotOfTheRun, TheProfileCarriesTheNineStationsWithTheirTimes) {
    struct Expected {
        const char* name;
        std::int32_t position_m;
        const char* times;
    };
    // Departure times of the timetable, arrivals one minute earlier at the stops.
    const std::vector<Expected> expected{
        {"ZERVANO", 0, "dep 6:33"},
        {"LUVERA", 5300, "6:38 \u2013 6:39"},
        {"BRENDAGO", 12800, "6:45 \u2013 6:46"},
        {"TORRIANEVALLE", 23100, "6:54 \u2013 6:55"},
        {"MURIELLO", 32250, "7:06 \u2013 7:07"},
        {"CALVISSO", 35650, "7:11 \u2013 7:12"},
        {"FONTEGA", 38700, "7:15 \u2013 7:16"},
        {"ODELMA S.LEONARDINO", 41000, "7:19 \u2013 7:20"},
        {"ODELMA P.LIVARA", 44200, "arr 7:25"},
    };
    const ScenarioPlot& p = plot();
    ASSERT_EQ(p.stations.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(p.stations[i].name, expected[i].name);
        EXPECT_EQ(p.stations[i].position_m, expected[i].position_m);
        EXPECT_EQ(p.stations[i].times, expected[i].times);
        // None of the nine is left unnamed on a 46 km line.
        EXPECT_TRUE(p.stations[i].named_in_profile);
        EXPECT_TRUE(p.stations[i].named_in_plan);
        const std::string name_text = std::string(">") + expected[i].name + "</text>";
        std::size_t count = 0;
        for (auto at = p.svg.find(name_text); at != std::string::npos; at = p.svg.find(name_text, at + 1)) ++count;
        EXPECT_EQ(count, 2u) << "once in the plan, once in the profile";
        EXPECT_NE(p.svg.find(std::string(">") + expected[i].times + "</text>"), std::string::npos);
    }
}

TEST_F(PlotOfTheRun, TheProfileCarriesTheSignalsAndBoardsOnTheirCells) {
    std::map<std::uint8_t, std::vector<std::int32_t>> drawn;
    for (const PlottedMark& m : plot().marks) {
        EXPECT_EQ(m.position_m, (static_cast<std::int32_t>(m.cell) - 1) * 50);
        drawn[m.kind].push_back(m.position_m);
    }
    EXPECT_EQ(drawn[kSignal], (std::vector<std::int32_t>{3200, 4500, 10600, 11800, 21050, 22300, 30300, 31500, 36800,
                                                         38000, 39950, 43000}));
    EXPECT_EQ(drawn[kSpeedBoard], (std::vector<std::int32_t>{700, 21800, 22100, 22400, 24800, 39900, 42900}));
    ASSERT_EQ(drawn[kSign].size(), 37u);
    EXPECT_EQ(drawn[kSign].front(), 550);
    // The train has no slowdown, code-drop point or mountain stretch.
    EXPECT_EQ(drawn.size(), 3u);
    // Drawn by kind: the description's left side code sx, 1 and 2 by turns
    // on this line, and 2 for the last three.
    const std::vector<int> kinds{1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 2, 2};
    for (std::size_t k = 0; k < drawn[kSignal].size(); ++k) {
        const std::int32_t at = drawn[kSignal][k];
        char title[64];
        std::snprintf(title, sizeof title, "<title>Signal of code %d at %d.%03d km (cell ", kinds[k], at / 1000,
                      at % 1000);
        // Once in the lane, once on the plan.
        EXPECT_EQ(count_of(plot().svg, title), 2u) << title;
    }
}

TEST(PlotOfTheExample, SlowdownsCodeDropsAndMountainMarkersAreDrawnOnTheirCells) {
    TempDir out;
    const Outcome compiled = run_program("compile " + testing::kExamples + "valbruna_linea.txt " + testing::kExamples +
                                         "valbruna_treno.txt -o " + out.path().string() + kFixedNames);
    ASSERT_EQ(compiled.status, 0) << compiled.err;
    const ScenarioPlot p = plot_scenario(slurp(out.file(kCells)), slurp(out.file(kTable)), slurp(out.file(kGrid)));
    std::map<std::size_t, std::uint8_t> drawn;
    for (const PlottedMark& m : p.marks) drawn[m.cell] = m.kind;
    struct Expected {
        std::size_t cell;
        std::uint8_t kind;
    };
    for (const Expected& e : std::vector<Expected>{{50, kCodeDrop},
                                                   {51, kSignal},
                                                   {53, kBeforeWarning},
                                                   {56, kBeforeWarning},
                                                   {57, kSlowdownWarning},
                                                   {67, kMountainMarker},
                                                   {81, kSlowdownStart},
                                                   {89, kCodeDrop},
                                                   {93, kSlowdownEnd},
                                                   {150, kCodeDrop}}) {
        ASSERT_TRUE(drawn.count(e.cell)) << "cell " << e.cell;
        EXPECT_EQ(drawn[e.cell], e.kind) << "cell " << e.cell;
    }
    // The slowdown is one bar from its start to its end cell, with its speed.
    EXPECT_NE(p.svg.find("Slowdown to 30 km/h from 4.000 km (cell 81) to 4.600 km (cell 93)"), std::string::npos);
    EXPECT_NE(p.svg.find(">30 km/h</text>"), std::string::npos);
    EXPECT_NE(p.svg.find("Mountain stretch of kind 2"), std::string::npos);
    EXPECT_NE(p.svg.find("Code-drop point at 7.450 km (cell 150): 150"), std::string::npos);
}

// Names and sign texts come from Windows-1252 bytes: on the page they are
// UTF-8, escaped for XML.
TEST(PlotOfTheExample, NamesAndSignTextsAreEscapedUtf8) {
    if (!tool_installed("xmllint")) GTEST_SKIP() << "xmllint is not installed (scripts/bootstrap installs it)";
    TempDir out;
    std::string line = slurp(testing::kExamples + "valbruna_linea.txt");
    std::string train = slurp(testing::kExamples + "valbruna_treno.txt");
    line.replace(line.find("(   P.L.  )(km 1+500)"), 21, "(<b> & \"c\")(d'\xE8)");
    train.replace(train.find("ROCCA"), 5, "ROCCA <&> \"2\"");
    spit(out.file("linea.txt"), line);
    spit(out.file("treno.txt"), train);
    ASSERT_EQ(
        run_program("compile " + out.file("linea.txt") + " " + out.file("treno.txt") + " -o " + out.path().string())
            .status,
        0);
    ASSERT_EQ(run_program("plot " + out.path().string()).status, 0);
    const std::string svg = slurp(out.file(kPicture));
    EXPECT_NE(svg.find(">ROCCA &lt;&amp;&gt; &quot;2&quot;</text>"), std::string::npos);
    EXPECT_NE(svg.find("&lt;b&gt; &amp; &quot;c&quot; / d&apos;\u00e8"), std::string::npos);
    const Outcome lint = run_command("xmllint --noout " + out.file(kPicture));
    EXPECT_EQ(lint.status, 0) << lint.err;
}

// A line of 990 km: the page stays light, the plan true, the end right.
TEST(PlotOfALongLine, ThePlanIsThinnedYetTrueAndTheLabelsAreThinnedOut) {
    std::vector<std::string> line{"[generale]", "lunghezza percorso,  990000", "[curve]"};
    for (int k = 0; k < 98; ++k) {
        line.push_back(std::string(k % 2 ? "curvas" : "curvad") + std::to_string(1 + k % 6) + ",  " +
                       std::to_string(5000 + k * 10000) + ",  " + std::to_string(300 + 100 * (k % 5)));
    }
    line.push_back("[pendenze]");
    for (int k = 0; k < 90; ++k) {
        line.push_back("pendenza,  " + std::to_string(k * 11000) + ",  " + std::to_string((k * 7) % 25 - 12));
    }
    line.push_back("[fine]");
    std::vector<std::string> train{"[generale]",         "aderenza,  0,  100",      "[vel_limite]",
                                   "velocita,  0,  140", "velocita,  500000,  100", "[stazioni]"};
    for (int k = 0; k < 70; ++k) {
        train.push_back("stazione,  " + std::to_string(k * 14000) +
                        ",  12,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  60,  6,  " + std::to_string(k % 60) +
                        ",  0,   STAZIONE DI PROVA NUMERO " + std::to_string(k));
    }
    train.push_back("[segnali]");
    for (int k = 0; k < 900; ++k) {
        if (k % 14 == 0) continue;  // away from the stations' cells
        train.push_back("segnale,  " + std::to_string(1000 + k * 1000) + ",  1,  4,  1,  0,  0,  0,  0,  0,  0,  0");
    }
    train.push_back("[fine]");
    TempDir out;
    spit(out.file("linea.txt"), testing::crlf(line));
    spit(out.file("treno.txt"), testing::crlf(train));
    const Outcome compiled =
        run_program("compile " + out.file("linea.txt") + " " + out.file("treno.txt") + " -o " + out.path().string());
    ASSERT_EQ(compiled.status, 0) << compiled.err;

    const std::string grid_bytes = slurp(out.file(kGrid));
    const ScenarioPlot p = plot_scenario(slurp(out.file(kCells)), slurp(out.file(kTable)), grid_bytes);
    EXPECT_EQ(p.last_computed_metre, 996998);
    EXPECT_EQ(p.track_metres.back(), 996998);
    EXPECT_LT(p.track.size(), 20000u);
    expect_track_follows_grid(p, decode_grid(grid_bytes), 13, 0.08);
    EXPECT_LT(p.svg.size(), 2'000'000u);
    // The plan sampled every 16 m still tells its 98 curves apart, each of
    // its class's radius: 10000, 5000, 2500, 1000, 500 and 333 m.
    EXPECT_EQ(p.curves, 98u);
    for (const char* radius : {"10000 m", "5000 m", "2500 m", "1000 m", "500 m", "333 m"}) {
        EXPECT_NE(p.svg.find(std::string("curve of radius ") + radius + " from"), std::string::npos) << radius;
    }

    ASSERT_EQ(p.stations.size(), 70u);
    std::size_t named = 0;
    for (const PlottedStation& s : p.stations) named += s.named_in_profile;
    // Stations 14 km apart are under 4 mm apart on the page: some names give way.
    EXPECT_GT(named, 10u);
    EXPECT_LT(named, 70u);
    EXPECT_TRUE(p.stations.front().named_in_profile);
}

// A live preview draws a compilation straight from its records: the page is
// the one drawn from the files that the compilation writes.
TEST(PlotFromRecords, TheDrawingOfACompilationInMemoryIsTheDrawingOfItsFiles) {
    struct Source {
        const char* what;
        std::string line, train;
    };
    const std::vector<Source> sources{
        {"the run's own line", testing::own_line_text(), testing::own_train_text()},
        {"the example", slurp(testing::kExamples + "valbruna_linea.txt"),
         slurp(testing::kExamples + "valbruna_treno.txt")},
    };
    for (const Source& source : sources) {
        SCOPED_TRACE(source.what);
        const testing::Compiled compiled = testing::compile_texts(source.line, source.train);
        ASSERT_EQ(compiled.outcome, CompileOutcome::kCompiled);
        TempDir out;
        write_binary_files(compiled.s.cells, compiled.s.stations, &compiled.s.grid,
                           ScenarioFiles{out.path().string(), "Zervano-OdelmaVmod", "27340"});
        const ScenarioPlot from_records = plot_scenario(compiled.s.cells, compiled.s.stations, compiled.s.grid);
        const ScenarioPlot from_files =
            plot_scenario(slurp(out.file(kCells)), slurp(out.file(kTable)), slurp(out.file(kGrid)));
        EXPECT_EQ(from_records.svg, from_files.svg);
        EXPECT_EQ(from_records.track_metres, from_files.track_metres);
        EXPECT_EQ(from_records.last_computed_metre, from_files.last_computed_metre);
        EXPECT_EQ(from_records.marks.size(), from_files.marks.size());
    }
}

// Records that no file could hold: a compilation without its grid, and a
// grid whose computed metres stop being numbers.
TEST(PlotFromRecords, APlanWithoutComputedMetresOrWithACoordinateNotANumberIsCutShort) {
    const std::string line = slurp(testing::kExamples + "valbruna_linea.txt");
    const std::string train = slurp(testing::kExamples + "valbruna_treno.txt");
    const testing::Compiled without_grid = testing::compile_texts(line, train, false);
    ASSERT_EQ(without_grid.outcome, CompileOutcome::kCompiled);
    const ScenarioPlot blank = plot_scenario(without_grid.s.cells, without_grid.s.stations, without_grid.s.grid);
    EXPECT_EQ(blank.last_computed_metre, -1);
    EXPECT_TRUE(blank.track.empty());
    EXPECT_NE(blank.svg.find("there is no plan to draw"), std::string::npos);

    testing::Compiled damaged = testing::compile_texts(line, train);
    ASSERT_GT(damaged.s.grid.computed_metres, 2000);
    damaged.s.grid.y[1500] = std::numeric_limits<double>::infinity();
    const ScenarioPlot cut = plot_scenario(damaged.s.cells, damaged.s.stations, damaged.s.grid);
    EXPECT_EQ(cut.last_computed_metre, 1499);
    EXPECT_EQ(cut.track_metres.back(), 1499);
}

// Files that are not a compiled scenario are refused with the file's name.
TEST_F(PlotOfTheRun, FoldersWithoutACompiledScenarioAreRefusedByName) {
    const std::string cells = slurp(dir_->file(kCells));
    const std::string table = slurp(dir_->file(kTable));
    const std::string grid = slurp(dir_->file(kGrid));
    std::string headless = cells;
    headless[16 + 2] = 0;  // cell 1, valore_1
    headless[16 + 3] = 0;
    struct Case {
        const char* what;
        std::map<std::string, std::string> files;
        int status;
        std::string names;    // the file the message names
        std::string message;  // part of the message
    };
    const std::vector<Case> cases{
        {"empty folder", {}, 2, kCells, "cannot read"},
        {"no grid", {{kCells, cells}, {kTable, table}}, 2, kGrid, "cannot read"},
        {"text as cells", {{kCells, "hello, world\n"}, {kTable, table}, {kGrid, grid}}, 1, kCells, "byte offset 0"},
        {"cut cell file",
         {{kCells, cells.substr(0, cells.size() - 5)}, {kTable, table}, {kGrid, grid}},
         1,
         kCells,
         "byte offset " + std::to_string(cells.size() - 16)},
        {"cell file without its header",
         {{kCells, headless}, {kTable, table}, {kGrid, grid}},
         1,
         kCells,
         "header value 5121 of a compiled scenario at byte offset 18"},
        {"cells as station table", {{kCells, cells}, {kTable, cells}, {kGrid, grid}}, 1, kTable, "byte offset"},
        {"cells as grid", {{kCells, cells}, {kTable, table}, {kGrid, cells}}, 1, kGrid, "byte offset"},
        {"grid as cells", {{kCells, grid}, {kTable, table}, {kGrid, grid}}, 1, kCells, "byte offset"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir work;
        for (const auto& [name, bytes] : c.files) spit(work.file(name), bytes);
        const Outcome outcome = run_program("plot " + work.path().string());
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_NE(outcome.err.find(work.file(c.names)), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_FALSE(std::filesystem::exists(work.file(kPicture)));
    }
    const std::filesystem::path no_folder = std::filesystem::path(folder()) / "no-such-folder";
    const Outcome missing = run_program("plot " + no_folder.string());
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find((no_folder / kCells).string()), std::string::npos) << missing.err;
}

TEST(PlotDecoding, EachFileIsCheckedForWhatACompiledScenarioHolds) {
    TempDir out;
    ASSERT_EQ(run_program("compile " + testing::kExamples + "valbruna_linea.txt " + testing::kExamples +
                          "valbruna_treno.txt -o " + out.path().string() + kFixedNames)
                  .status,
              0);
    const std::string cells = slurp(out.file(kCells));
    const std::string table = slurp(out.file(kTable));
    const std::string grid = slurp(out.file(kGrid));
    std::string table_without_header = table;
    std::string grid_off_origin = grid;
    grid_off_origin[2] = 7;  // metre 0's x
    // Metre 2's x, a double after metres 0 and 1 (four bytes each) and its tag.
    std::string grid_not_a_number = grid;
    grid_not_a_number.replace(10, 8, std::string("\0\0\0\0\0\0\xf8\x7f", 8));
    // Entry 85's attributo_7 follows its 16 fixed bytes and its name.
    std::size_t at = 0;
    const StationTable decoded = decode_station_table(table);
    for (int k = 0; k < kScenarioEntry; ++k) at += 34 + decoded[static_cast<std::size_t>(k)].name.size();
    at += 16 + decoded[kScenarioEntry].name.size();
    table_without_header[at] = 0;
    table_without_header[at + 1] = 0;
    struct Case {
        const char* what;
        std::string cells, table, grid;
        FileKind file;
        std::size_t offset;
    };
    const std::vector<Case> cases{
        {"a short cell file", cells.substr(0, 16 * 100), table, grid, FileKind::kCells, 1600},
        {"a station table with bytes after entry 86", cells, table + "x", grid, FileKind::kStationTable, table.size()},
        {"a station table without its header value", cells, table_without_header, grid, FileKind::kStationTable, at},
        {"a grid that does not start at the origin", cells, table, grid_off_origin, FileKind::kGrid, 0},
        {"a grid with a coordinate that is not a number", cells, table, grid_not_a_number, FileKind::kGrid, 8},
        {"a grid with an odd number of values", cells, table, grid.substr(0, grid.size() - 2), FileKind::kGrid,
         grid.size() - 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            plot_scenario(c.cells, c.table, c.grid);
            ADD_FAILURE() << "accepted";
        } catch (const ScenarioDecodeError& error) {
            EXPECT_EQ(error.file(), c.file);
            EXPECT_EQ(error.offset(), c.offset);
        }
    }
}

}  // namespace
}  // namespace scenariogen

namespace scenariogen {
namespace {

// Found by fuzzing: a damaged scenario whose plan reaches 10^24 m made the
// scale's printed ratio overflow an integer. The fixture holds the three
// files one after the other: two bytes give the cell file's length in cells,
// two the station table's length in bytes, the grid is the rest.
TEST(PlotDecoding, APlanOfAbsurdExtentIsDrawnOrRefusedCleanly) {
    const std::string bytes = slurp(std::string(SCENARIOGEN_SOURCE_DIR) + "/tests/fixtures/plot_absurd_extent.bin");
    ASSERT_GT(bytes.size(), 4u);
    const auto length = [&](std::size_t at) {
        return static_cast<std::size_t>(static_cast<unsigned char>(bytes[at])) |
               static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
    };
    const std::string_view rest = std::string_view(bytes).substr(4);
    const std::size_t cells = length(0) * 16;
    const std::size_t table = length(2);
    try {
        const ScenarioPlot p =
            plot_scenario(rest.substr(0, cells), rest.substr(cells, table), rest.substr(cells + table));
        EXPECT_NE(p.svg.find("Scale bar"), std::string::npos);
    } catch (const DecodeError&) {
        // Refusing the files is as good an answer.
    }
}

}  // namespace
}  // namespace scenariogen
