// What an engineer reads on the page: scales that end where the route
// ends, the two panels, the curves with their radii, every speed of a
// board, signals by kind, sign texts, a legend of every mark, hover texts
// that say where a value was written, and labels that never overlap.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"
#include "views/plot/page_layout.h"
#include "views/plot/scenario_plot.h"

namespace scenariogen {
namespace {

using testing::slurp;

bool holds(const std::string& svg, const std::string& text) { return svg.find(text) != std::string::npos; }

ScenarioPlot plot_texts(const std::string& line, const std::string& train, const RunDrawing& run = {}) {
    const testing::Compiled c = testing::compile_texts(line, train);
    EXPECT_EQ(c.outcome, CompileOutcome::kCompiled);
    EXPECT_TRUE(c.s.faults.empty());
    return plot_scenario(c.s.cells, c.s.stations, c.s.grid, run);
}

ScenarioPlot example(const std::string& from = "", const std::string& to = "") {
    std::string line = slurp(testing::kExamples + "valbruna_linea.txt");
    if (!from.empty()) line.replace(line.find(from), from.size(), to);
    return plot_texts(line, slurp(testing::kExamples + "valbruna_treno.txt"));
}

// The example's route is 10 km long, its cells run 7 km further.
TEST(PlotDrawing, TheProfileEndsAtTheRoutesEndAndThePlanShowsTheRunOutApart) {
    const ScenarioPlot p = example();
    EXPECT_EQ(p.route_length_m, 10000);
    EXPECT_EQ(p.profile_end_m, 10000);
    EXPECT_TRUE(holds(p.svg, "the 7.000 km of run-out after it are left out of the profile"));
    EXPECT_TRUE(holds(p.svg, "<title>Run-out after the end of the route, metres 10000 to 16998</title>"));
    // The plan's line passes through the route's end, where the run-out begins.
    EXPECT_TRUE(std::find(p.track_metres.begin(), p.track_metres.end(), 10000) != p.track_metres.end());

    // A sign board placed beyond the route's end keeps its place on the
    // profile, which then runs to the end of its cell.
    const ScenarioPlot beyond =
        example("[indicazioni]\r\n", "[indicazioni]\r\ncartello_indicatore,  12000,  (  X  )\r\n");
    EXPECT_EQ(beyond.profile_end_m, 12050);
    EXPECT_FALSE(holds(beyond.svg, "left out of the profile"));
}

TEST(PlotDrawing, HeightAndSpeedStandInPanelsOfTheirOwn) {
    const ScenarioPlot p = example();
    EXPECT_TRUE(holds(p.svg, ">Height (m)</text>"));
    EXPECT_TRUE(holds(p.svg, ">Speed (km/h)</text>"));
    // 16 m of height over 10 km: the panel draws them 30 times steeper
    // than the distances.
    EXPECT_TRUE(holds(p.svg, ">vertical exaggeration \u00d730</text>"));
}

TEST(PlotDrawing, TheCurveBandGivesEachCurveItsSideAndRadius) {
    const ScenarioPlot p = example();
    // curvad3 at 2000 m over 500 m, curvas4 at 6000 m over 300 m.
    EXPECT_EQ(p.curves, 2u);
    EXPECT_TRUE(holds(p.svg, "<title>Right curve of radius 2500 m from 2.000 km to 2.500 km</title>")) << p.svg;
    EXPECT_TRUE(holds(p.svg, "<title>Left curve of radius 1000 m from 6.000 km to 6.300 km</title>"));
    EXPECT_TRUE(holds(p.svg, ">R 2500 m</text>"));
}

TEST(PlotDrawing, BoardsShowSpeedsABAndCAndSignsTheirTexts) {
    const ScenarioPlot p = example();
    // indicatori_vmax,  600,  100,  110,  110
    EXPECT_TRUE(holds(p.svg, ">100/110/110</text>"));
    EXPECT_TRUE(holds(p.svg, ">P.L. / km 1+500</text>"));
    // A board whose three speeds agree shows one.
    const ScenarioPlot same = example("100,  110,  110", "90,  90,  90");
    EXPECT_TRUE(holds(same.svg, ">90</text>"));
    EXPECT_FALSE(holds(same.svg, "90/90/90"));
}

// A value written at p that holds 50 m before p: the hover says both.
TEST(PlotDrawing, HoverTextsSayWhereAValueWasWrittenAndWhereItHolds) {
    const ScenarioPlot own = plot_texts(testing::own_line_text(), testing::own_train_text());
    const char* note = ": a value written at p holds from the start of the cell that ends at p, here ";
    // pendenza,  14100,  -6 and velocita,  23100,  105
    EXPECT_TRUE(holds(own.svg, std::string("<title>Gradient \u22126 \u2030 from 14.050 km to 16.050 km (written at "
                                           "14.100 km") +
                                   note + "14.050 km)</title>"));
    EXPECT_TRUE(holds(own.svg, std::string("<title>Line speed limit 105 km/h from 23.050 km to 24.750 km (written at "
                                           "23.100 km") +
                                   note + "23.050 km)</title>"));
    // abbattimento,  7500,  150: the cell that ends at 7500 m.
    EXPECT_TRUE(holds(example().svg,
                      "Code-drop point at 7.450 km (cell 150): 150; written at 7.500 km: a code-drop point goes to "
                      "the cell that ends at its position"));
}

TEST(PlotDrawing, TheLegendNamesEveryMarkOfThePage) {
    const ScenarioPlot p = example();
    for (const char* entry :
         {"Plan: track centre line, north up", "Plan: run-out after the route&apos;s end",
          "Line km of the kilometric progressive", "End of the route", "Station area", "Height from the gradients (m)",
          "Line speed limit (km/h)", "Gradient (\u2030), rising to the right", "Curve: right up, left down; radius",
          "Signal of code sx 1, 2, other", "Speed board: speeds A/B/C (km/h)", "Sign board, with its text",
          "Slowdown: points, warning, stretch", "Code-drop point: with value, without",
          "Mountain stretch (kind), marker"}) {
        EXPECT_TRUE(holds(p.svg, std::string(">") + entry + "</text>")) << entry;
    }
}

TEST(PlotDrawing, TheTimeDistanceGraphHasAKilometreScaleMinuteTicksAndTheTrainNumber) {
    const RunDrawing graph{.driving_curve = true, .time_distance_graph = true, .model = {}};
    const ScenarioPlot p = plot_texts(testing::own_line_text(), testing::own_train_text(), graph);
    EXPECT_TRUE(holds(p.svg, ">Route km</text>"));
    EXPECT_TRUE(holds(p.svg, "<title>A tick every minute</title>"));
    EXPECT_TRUE(holds(p.svg, "<title>Train 27340</title>"));
    EXPECT_TRUE(holds(p.svg, ">27340</text>"));
}

bool overlap(const PlacedLabel& a, const PlacedLabel& b) {
    return a.box.x0 < b.box.x1 && b.box.x0 < a.box.x1 && a.box.y0 < b.box.y1 && b.box.y0 < a.box.y1;
}

void expect_apart(const std::vector<PlacedLabel>& labels, const char* where) {
    for (std::size_t i = 0; i < labels.size(); ++i) {
        for (std::size_t j = i + 1; j < labels.size(); ++j) {
            EXPECT_FALSE(overlap(labels[i], labels[j]))
                << where << ": '" << labels[i].text << "' and '" << labels[j].text << "'";
        }
    }
}

// Stations 22 km apart on a line of 1000 km, with signs and boards close
// together: what is placed stands apart, and the rest gives way.
TEST(PlotDrawing, LabelsNeverOverlap) {
    std::vector<std::string> line{"[generale]", "lunghezza percorso,  1000000", "[pendenze]", "pendenza,  0,  3",
                                  "[cartelli]"};
    for (int k = 0; k < 12; ++k) {
        line.push_back("indicatori_vmax,  " + std::to_string(3000 + k * 80000) + ",  100,  90,  80,  0,  ,  ,  ,  0");
    }
    line.push_back("[indicazioni]");
    for (int k = 0; k < 30; ++k) {
        const char* text = k % 3 == 0 ? "(  PASSAGGIO A LIVELLO )(km 1+000)" : "(  P.L.  )";
        line.push_back("cartello_indicatore,  " + std::to_string(2000 + k * 32000) + ",  " + text);
    }
    line.push_back("[fine]");
    std::vector<std::string> train{"[generale]", "aderenza,  0,  100", "[vel_limite]", "velocita,  0,  140",
                                   "[stazioni]"};
    for (int k = 0; k < 45; ++k) {
        train.push_back("stazione,  " + std::to_string(k * 22000) +
                        ",  12,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  60,  6,  " + std::to_string(k % 60) +
                        ",  0,   STAZIONE DI PROVA NUMERO " + std::to_string(k));
    }
    train.push_back("[fine]");
    const ScenarioPlot p = plot_texts(testing::crlf(line), testing::crlf(train));
    EXPECT_GT(p.plan_labels.size(), 10u);
    EXPECT_GT(p.profile_labels.size(), 10u);
    expect_apart(p.plan_labels, "plan");
    expect_apart(p.profile_labels, "profile");
    const ScenarioPlot own = plot_texts(testing::own_line_text(), testing::own_train_text());
    expect_apart(own.plan_labels, "plan of the run's line");
    expect_apart(own.profile_labels, "profile of the run's line");
}

}  // namespace
}  // namespace scenariogen
