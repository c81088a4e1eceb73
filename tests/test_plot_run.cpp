// The train's fastest run on the picture: the driving curve over the
// profile, and the time-distance graph on a second page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "test_support.h"
#include "views/plot/page_layout.h"
#include "views/plot/scenario_plot.h"

namespace scenariogen {
namespace {

using namespace plotting;
using testing::Outcome;
using testing::run_program;
using testing::slurp;
using testing::spit;
using testing::TempDir;

constexpr RunDrawing kCurve{.driving_curve = true, .time_distance_graph = false, .model = {}};
constexpr RunDrawing kCurveAndGraph{.driving_curve = true, .time_distance_graph = true, .model = {}};

// The scenario's own descriptions, the train description changed by
// replacing one text with another, compiled in memory.
testing::Compiled own(const std::string& from = "", const std::string& to = "") {
    std::string train = testing::own_train_text();
    if (!from.empty()) train.replace(train.find(from), from.size(), to);
    return testing::compile_texts(testing::own_line_text(), train);
}

ScenarioPlot plot_of(const testing::Compiled& c, const RunDrawing& run) {
    return plot_scenario(c.s.cells, c.s.stations, c.s.grid, run);
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The profile's scales, as the page draws them.
double speed_y(const ScenarioPlot& p, double kmh) {
    return kSpeedBottom - kChartPad - kmh / p.speed_top_kmh * (kSpeedBottom - kSpeedTop - 2 * kChartPad);
}
double x_of(const ScenarioPlot& p, double position) {
    return kProfileX0 + position / p.profile_end_m * (kProfileX1 - kProfileX0);
}

TEST(PlotWithTheRun, TheDrivingCurveRunsFromStopToStopUnderTheLimits) {
    const ScenarioPlot p = plot_of(own(), kCurve);
    ASSERT_EQ(p.driving_curve.size(), 1u);
    const std::vector<PagePoint>& curve = p.driving_curve[0];
    EXPECT_NEAR(curve.front().x, x_of(p, 0), 1e-9);
    EXPECT_NEAR(curve.front().y, speed_y(p, 0), 1e-9);
    EXPECT_NEAR(curve.back().x, x_of(p, 44200), 1e-9);
    EXPECT_NEAR(curve.back().y, speed_y(p, 0), 1e-9);
    // Up to the train's 130 km/h, under the line's 140, and to a standstill
    // at each of the seven stops between.
    const auto top =
        std::min_element(curve.begin(), curve.end(), [](const PagePoint& a, const PagePoint& b) { return a.y < b.y; });
    EXPECT_NEAR(top->y, speed_y(p, 130), 0.01);
    for (const double stop : {5300, 12800, 23100, 32250, 35650, 38700, 41000}) {
        EXPECT_TRUE(std::any_of(curve.begin(), curve.end(), [&](const PagePoint& q) {
            return std::abs(q.x - x_of(p, stop)) < 0.01 && std::abs(q.y - speed_y(p, 0)) < 0.01;
        })) << stop;
    }
    EXPECT_EQ(count(p.svg, "<g id=\"driving-curve\">"), 1u);
    EXPECT_NE(p.svg.find("top speed 130 km/h; 0 of 8 legs cannot be kept</text>"), std::string::npos);
    // The speed axis takes the colour of the run read against it.
    EXPECT_NE(p.svg.find(std::string("fill=\"") + kRunColour + "\">Speed (km/h)</text>"), std::string::npos);

    // The page without the run: the limit alone, and the axis in its colour.
    const ScenarioPlot plain = plot_of(own(), {});
    EXPECT_TRUE(plain.driving_curve.empty());
    EXPECT_EQ(plain.svg.find("driving-curve"), std::string::npos);
    EXPECT_NE(plain.svg.find(std::string("fill=\"") + kSpeedColour + "\">Speed (km/h)</text>"), std::string::npos);
}

TEST(PlotWithTheRun, TheTimeDistanceGraphOnASecondPage) {
    const ScenarioPlot p = plot_of(own(), kCurveAndGraph);
    EXPECT_NE(p.svg.find("height=\"420mm\" viewBox=\"0 0 297 420\""), std::string::npos);
    EXPECT_EQ(count(p.svg, "<g id=\"time-distance-graph\">"), 1u);
    // A departure from the first station, an arrival at the last, both at
    // each of the seven between.
    EXPECT_EQ(p.graph_scheduled_marks, 16u);
    ASSERT_EQ(p.graph_run.size(), 1u);
    const std::vector<PagePoint>& run = p.graph_run[0];
    for (std::size_t i = 1; i < run.size(); ++i) {
        EXPECT_GE(run[i].x, run[i - 1].x);  // the clock goes on
        EXPECT_GE(run[i].y, run[i - 1].y);  // and the train forward
        EXPECT_GT(run[i].y, kPageHeight);   // on the second page
    }
    EXPECT_EQ(count(p.svg, "the model cannot keep it</title>"), 0u);
    EXPECT_NE(p.svg.find("<title>ODELMA P.LIVARA arr 7:25:00</title>"), std::string::npos);

    // A terminus a minute earlier: its arrival is a mark the model misses.
    const ScenarioPlot tight =
        plot_of(own("7,  25,  0,   ODELMA P.LIVARA", "7,  24,  0,   ODELMA P.LIVARA"), kCurveAndGraph);
    EXPECT_EQ(count(tight.svg, "the model cannot keep it</title>"), 1u);
    EXPECT_NE(tight.svg.find("<title>ODELMA P.LIVARA arr 7:24:00: the model cannot keep it</title>"),
              std::string::npos);
    EXPECT_NE(tight.svg.find("1 of 8 legs cannot be kept"), std::string::npos);
}

TEST(PlotWithTheRun, ATrainThatCannotBrakeGetsNoRun) {
    const testing::Compiled unbraked = own("percentuale massa frenata,    130", "percentuale massa frenata,    0");
    const ScenarioPlot p = plot_of(unbraked, kCurveAndGraph);
    EXPECT_TRUE(p.run_left_out);
    EXPECT_TRUE(p.driving_curve.empty());
    EXPECT_NE(p.svg.find("height=\"210mm\""), std::string::npos);

    RunDrawing braked = kCurve;
    braked.model.braking = 0.7;
    const ScenarioPlot with_braking = plot_of(unbraked, braked);
    EXPECT_FALSE(with_braking.run_left_out);
    EXPECT_EQ(with_braking.driving_curve.size(), 1u);
}

TEST(PlotWithTheRun, TheCommandDrawsTheRunAndOnRequestTheGraph) {
    TempDir sources;
    spit(sources.file("linea.txt"), testing::own_line_text());
    std::string train = testing::own_train_text();
    spit(sources.file("treno.txt"), train);
    TempDir out;
    ASSERT_EQ(run_program("compile " + sources.file("linea.txt") + " " + sources.file("treno.txt") + " -o " +
                          out.path().string())
                  .status,
              0);
    const Outcome plain = run_program("plot " + out.path().string() + " -o " + out.file("page.svg"));
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.err, "");
    const std::string page = slurp(out.file("page.svg"));
    EXPECT_NE(page.find("<g id=\"driving-curve\">"), std::string::npos);
    EXPECT_EQ(page.find("time-distance-graph"), std::string::npos);

    const Outcome graph =
        run_program("plot " + out.path().string() + " --graph --max-speed 100 -o " + out.file("graph.svg"));
    EXPECT_EQ(graph.status, 0) << graph.err;
    const std::string graph_page = slurp(out.file("graph.svg"));
    EXPECT_NE(graph_page.find("<g id=\"time-distance-graph\">"), std::string::npos);
    EXPECT_NE(graph_page.find("top speed 100 km/h"), std::string::npos);
    if (std::system("command -v xmllint >/dev/null 2>&1") == 0) {
        EXPECT_EQ(testing::run_command("xmllint --noout " + out.file("graph.svg")).status, 0);
    }

    // No braked-mass percentage: the page without the run, and a word why.
    const std::string from = "percentuale massa frenata,    130";
    train.replace(train.find(from), from.size(), "percentuale massa frenata,    0");
    spit(sources.file("treno.txt"), train);
    ASSERT_EQ(run_program("compile " + sources.file("linea.txt") + " " + sources.file("treno.txt") + " -o " +
                          out.path().string())
                  .status,
              0);
    const Outcome unbraked = run_program("plot " + out.path().string() + " -o " + out.file("unbraked.svg"));
    EXPECT_EQ(unbraked.status, 0);
    EXPECT_NE(unbraked.err.find("--braking"), std::string::npos) << unbraked.err;
    EXPECT_EQ(slurp(out.file("unbraked.svg")).find("driving-curve"), std::string::npos);
}

// The model's options take a number above 0, and say so in a short line:
// no NaN, no infinity, nothing out of range, for plot and check alike.
TEST(PlotWithTheRun, TheModelsOptionsRefuseWhatIsNotANumberAboveZero) {
    TempDir out;
    spit(out.file("linea.txt"), testing::own_line_text());
    spit(out.file("treno.txt"), testing::own_train_text());
    const std::string descriptions = out.file("linea.txt") + " " + out.file("treno.txt");
    ASSERT_EQ(run_program("compile " + descriptions + " -o " + out.path().string()).status, 0);
    const std::vector<std::string> commands{"plot " + out.path().string() + " -o " + out.file("page.svg"),
                                            "check " + descriptions};
    for (const std::string& command : commands) {
        for (const char* option : {"--acceleration", "--braking", "--max-speed"}) {
            for (const char* value : {"0", "-1", "nan", "inf", "-inf", "1e400", "x", "0x10"}) {
                SCOPED_TRACE(command.substr(0, 5) + option + " " + value);
                const Outcome refused = run_program(command + " " + option + " " + value);
                EXPECT_EQ(refused.status, 2);
                const std::string first_line = refused.err.substr(0, refused.err.find('\n'));
                EXPECT_NE(first_line.find(std::string(option) + ": give a number above 0"), std::string::npos)
                    << refused.err;
                EXPECT_LT(first_line.size(), 80u) << first_line;
            }
        }
    }
    EXPECT_FALSE(std::filesystem::exists(out.file("page.svg")));
    EXPECT_EQ(run_program(commands[0] + " --max-speed 0.5 --acceleration 2.5e-1 --braking 1").status, 0);
}

}  // namespace
}  // namespace scenariogen
