// The lines of the picture thinned to what the page can show: a thinned line
// stays within reach of every point it leaves out, a crowded column keeps
// the height it covers, and no line grows past a few thousand points however
// many the records give it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <regex>
#include <string>
#include <vector>

#include "test_support.h"
#include "views/plot/line_thinning.h"
#include "views/plot/scenario_plot.h"

namespace scenariogen::plotting {
namespace {

double distance_to_segment(PagePoint p, PagePoint a, PagePoint b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// How far the thinned line passes from the farthest point it left out.
double worst_miss(const std::vector<PagePoint>& points, const std::vector<std::size_t>& kept) {
    double worst = 0;
    for (std::size_t k = 0; k + 1 < kept.size(); ++k) {
        for (std::size_t i = kept[k]; i <= kept[k + 1]; ++i) {
            worst = std::max(worst, distance_to_segment(points[i], points[kept[k]], points[kept[k + 1]]));
        }
    }
    return worst;
}

// A pseudo-random walk, the same at every run.
std::vector<PagePoint> random_walk(std::size_t n, double step) {
    std::vector<PagePoint> points{{0, 0}};
    std::uint64_t state = 12345;
    for (std::size_t i = 1; i < n; ++i) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        const double angle = static_cast<double>(state >> 11) / 9007199254740992.0 * 6.283185307179586;
        points.push_back({points.back().x + step * std::cos(angle), points.back().y + step * std::sin(angle)});
    }
    return points;
}

std::vector<PagePoint> traced(std::size_t n, PagePoint (*at)(double t)) {
    std::vector<PagePoint> points;
    for (std::size_t i = 0; i < n; ++i) points.push_back(at(static_cast<double>(i) / static_cast<double>(n - 1)));
    return points;
}

struct Shape {
    const char* what;
    std::vector<PagePoint> points;
    std::size_t at_most;  // points a good thinning keeps
};

std::vector<Shape> shapes() {
    return {
        {"a straight line that wavers less than the tolerance",
         traced(10000,
                [](double t) {
                    return PagePoint{100 * t, 0.01 * std::sin(900 * t)};
                }),
         2},
        {"a spiral of ten turns",
         traced(100000,
                [](double t) {
                    const double r = 5 + 40 * t, a = 62.83 * t;
                    return PagePoint{r * std::cos(a), r * std::sin(a)};
                }),
         4000},
        {"a hairpin: out along a line and back beside it",
         traced(2001,
                [](double t) {
                    return t < 0.5 ? PagePoint{200 * t, 0} : PagePoint{200 * (1 - t), 0.01};
                }),
         3},
        {"a zigzag coarser than the tolerance",
         traced(4001,
                [](double t) {
                    return PagePoint{200 * t, std::fmod(4000 * t, 2) < 1 ? 0.0 : 1.0};
                }),
         4001},
        {"a random walk", random_walk(20000, 0.05), 20000},
    };
}

TEST(LineThinning, TheThinnedLinePassesWithinReachOfEveryPointLeftOut) {
    for (const Shape& shape : shapes()) {
        SCOPED_TRACE(shape.what);
        const std::vector<std::size_t> kept = sleeve_thinning(shape.points, {}, kLineTolerance);
        ASSERT_GE(kept.size(), 2u);
        EXPECT_EQ(kept.front(), 0u);
        EXPECT_EQ(kept.back(), shape.points.size() - 1);
        EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end()));
        EXPECT_EQ(std::adjacent_find(kept.begin(), kept.end()), kept.end());
        EXPECT_LE(worst_miss(shape.points, kept), 1.5 * kLineTolerance);
        EXPECT_LE(kept.size(), shape.at_most);
    }
}

TEST(LineThinning, PinnedPointsStayAndNoLineKeepsMoreThanTheMost) {
    const std::vector<PagePoint> walk = random_walk(100000, 0.05);
    std::vector<char> pinned(walk.size(), 0);
    for (const std::size_t i : {777u, 50000u, 99998u}) pinned[i] = 1;
    const std::vector<std::size_t> kept = thin_line(walk, pinned);
    EXPECT_LE(kept.size(), kMostLinePoints + 3);
    for (const std::size_t i : {777u, 50000u, 99998u}) {
        EXPECT_TRUE(std::binary_search(kept.begin(), kept.end(), i)) << i;
    }
    EXPECT_EQ(kept.back(), walk.size() - 1);
}

TEST(LineThinning, ACrowdedColumnKeepsItsFirstLowestHighestAndLastPoint) {
    // Ten points in each column, the extremes in the middle of it.
    std::vector<PagePoint> points;
    for (int column = 0; column < 100; ++column) {
        for (int k = 0; k < 10; ++k) {
            const double y = k == 3 ? 50 + column : k == 6 ? 10 - column : 30 + (k % 2);
            points.push_back({(column + (k + 0.5) / 10) * kColumnWidth, y});
        }
    }
    const std::vector<std::size_t> kept = column_envelope(points, kColumnWidth);
    std::vector<std::size_t> expected;
    for (std::size_t column = 0; column < 100; ++column) {
        for (const std::size_t k : {0u, 3u, 6u, 9u}) expected.push_back(column * 10 + k);
    }
    EXPECT_EQ(kept, expected);
}

// A route whose every cell changes gradient and speed limit, on a plan
// wound into a spiral: each line of the page stays under a few thousand
// points, and the track still passes through the station.
TEST(PlotOfADenseLine, EveryLineIsThinnedToWhatThePageCanShow) {
    std::vector<std::string> line{"[generale]", "lunghezza percorso,  400000", "[curve]"};
    for (int k = 0; k < 790; ++k) {
        line.push_back(std::string(k % 2 ? "curvas" : "curvad") + std::to_string(1 + k % 6) + ",  " +
                       std::to_string(1000 + k * 500) + ",  100");
    }
    line.push_back("[pendenze]");
    std::vector<std::string> train{"[generale]", "[vel_limite]"};
    for (int k = 0; k < 8000; ++k) {
        line.push_back("pendenza,  " + std::to_string(k * 50) + ",  " + std::to_string(k % 2 ? 8 : -8));
        train.push_back("velocita,  " + std::to_string(k * 50) + ",  " + std::to_string(k % 2 ? 60 : 140));
    }
    line.push_back("[fine]");
    train.insert(train.end(), {"[stazioni]",
                               "stazione,  123450,  12,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  60,  6,  0,  0,  "
                               " PRIMA",
                               "[fine]"});
    const scenariogen::testing::Compiled compiled =
        scenariogen::testing::compile_texts(scenariogen::testing::crlf(line), scenariogen::testing::crlf(train));
    ASSERT_EQ(compiled.outcome, CompileOutcome::kCompiled);
    const ScenarioPlot p = plot_scenario(compiled.s.cells, compiled.s.stations, compiled.s.grid);

    const auto vertices = [&](const std::string& title) {
        const std::size_t at = p.svg.find(title);
        const std::size_t from = p.svg.find("<path d=\"", at) + 9;
        const std::string d = p.svg.substr(from, p.svg.find('"', from) - from);
        return static_cast<std::size_t>(std::count_if(d.begin(), d.end(), [](char c) { return std::isalpha(c); }));
    };
    EXPECT_LE(vertices("<title>Height from the gradients"), kMostLinePoints);
    EXPECT_LE(vertices("<title>Line speed limit"), kMostLinePoints);
    EXPECT_LE(p.track.size(), kMostLinePoints + 1);
    EXPECT_LT(p.svg.size(), 400'000u);
    ASSERT_EQ(p.stations.size(), 1u);
    EXPECT_TRUE(std::binary_search(p.track_metres.begin(), p.track_metres.end(), 123450));
}

}  // namespace
}  // namespace scenariogen::plotting
