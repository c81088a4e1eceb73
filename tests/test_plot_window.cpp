// A stretch of the profile drawn across the page's width, as the preview
// asks for it at each zoom: the whole stretch is the profile plot draws,
// a narrow one keeps its lines within the frame, its km labels are those
// of the stretch, and labels left out for lack of room come back.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"
#include "views/plot/page_layout.h"
#include "views/plot/scenario_plot.h"

namespace scenariogen {
namespace {

using testing::slurp;

// The texts of <text> elements, in order.
std::vector<std::string> texts(const std::string& svg) {
    static const std::regex text(R"(<text[^>]*>([^<]*)</text>)");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text); it != std::sregex_iterator(); ++it) {
        found.push_back((*it)[1]);
    }
    return found;
}

// The group "profile" of a drawn page.
std::string profile_group(const std::string& svg) {
    const std::size_t start = svg.find("<g id=\"profile\"");
    const std::size_t end = svg.find("<g id=\"legend\"");
    return start == std::string::npos ? svg : svg.substr(start, end - start);
}

// Every x of the paths' absolute moves and lines (M, L, H).
std::vector<double> path_xs(const std::string& svg) {
    static const std::regex move(R"([MLH](-?[0-9.]+))");
    std::vector<double> xs;
    static const std::regex path(R"re(<path d="([^"]*)")re");
    for (auto p = std::sregex_iterator(svg.begin(), svg.end(), path); p != std::sregex_iterator(); ++p) {
        const std::string d = (*p)[1];
        for (auto m = std::sregex_iterator(d.begin(), d.end(), move); m != std::sregex_iterator(); ++m) {
            xs.push_back(std::stod((*m)[1]));
        }
    }
    return xs;
}

class ProfileWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        compiled_ = testing::compile_texts(slurp(testing::kExamples + "valbruna_linea.txt"),
                                           slurp(testing::kExamples + "valbruna_treno.txt"));
        ASSERT_EQ(compiled_.outcome, CompileOutcome::kCompiled);
        page_ = plot_scenario(compiled_.s.cells, compiled_.s.stations, compiled_.s.grid, run_);
    }

    std::string window(double from_m, double to_m) const {
        return plot_profile_window(compiled_.s.cells, compiled_.s.stations, compiled_.s.grid, page_.timetable,
                                   {from_m, to_m});
    }

    testing::Compiled compiled_;
    RunDrawing run_{.driving_curve = true, .time_distance_graph = false, .model = {}};
    ScenarioPlot page_;
};

TEST_F(ProfileWindowTest, TheWholeStretchIsTheProfileThePageDraws) {
    ASSERT_TRUE(page_.timetable.has_value());
    const std::string whole = profile_group(window(0, page_.profile_end_m));
    EXPECT_EQ(texts(whole), texts(profile_group(page_.svg)));
    EXPECT_EQ(path_xs(whole), path_xs(profile_group(page_.svg)));
}

TEST_F(ProfileWindowTest, ANarrowStretchKeepsItsLinesInTheFrameAndLabelsItsOwnKilometres) {
    const std::string stretch = window(4000, 5000);
    for (const double x : path_xs(profile_group(stretch))) {
        EXPECT_GE(x, plotting::kProfileX0 - 1.5) << "a line left of the frame";
        EXPECT_LE(x, plotting::kProfileX1 + 0.5) << "a line right of the frame";
    }
    std::vector<double> kilometres;
    for (const std::string& t : texts(stretch)) {
        if (std::regex_match(t, std::regex(R"([0-9]+\.[0-9]+)"))) kilometres.push_back(std::stod(t));
    }
    ASSERT_GE(kilometres.size(), 3u) << "a kilometre scale of its own";
    for (const double k : kilometres) EXPECT_TRUE(k >= 4.0 && k <= 5.0) << k;
    EXPECT_NE(stretch.find("id=\"driving-curve\""), std::string::npos) << "the fastest run is drawn in the stretch";
}

TEST_F(ProfileWindowTest, LabelsLeftOutOnTheWholeRouteComeBackInANarrowStretch) {
    const std::vector<std::string> all = texts(profile_group(page_.svg));
    const std::set<std::string> whole(all.begin(), all.end());
    std::size_t new_labels = 0;
    for (double from = 0; from < page_.route_length_m; from += 1000) {
        for (const std::string& t : texts(window(from, from + 1000))) {
            new_labels += !whole.contains(t) && std::regex_search(t, std::regex("[A-Za-z]"));
        }
    }
    EXPECT_GT(new_labels, 0u);
}

TEST_F(ProfileWindowTest, ASlowdownIsDrawnInEveryStretchItRunsThrough) {
    // The example's slowdown to 30 km/h runs from 4000 m for 600 m.
    struct Case {
        double from_m, to_m;
        bool drawn;
    };
    for (const Case& c : {Case{3500, 4500, true}, Case{4200, 4400, true}, Case{4500, 6000, true},
                          Case{4700, 6000, false}, Case{2000, 3900, false}}) {
        const std::string stretch = window(c.from_m, c.to_m);
        const std::size_t bar = stretch.find("<title>Slowdown to 30 km/h");
        EXPECT_EQ(bar != std::string::npos, c.drawn) << c.from_m << " to " << c.to_m;
        if (bar == std::string::npos) continue;
        static const std::regex rect(R"re(<rect x="([0-9.]+)"[^>]* width="([0-9.]+)")re");
        std::smatch found;
        const std::string rest = stretch.substr(bar);
        ASSERT_TRUE(std::regex_search(rest, found, rect)) << c.from_m;
        EXPECT_GE(std::stod(found[1]), plotting::kProfileX0 - 0.01) << c.from_m << ": the bar starts within the frame";
        EXPECT_LE(std::stod(found[1]) + std::stod(found[2]), plotting::kProfileX1 + 0.01) << c.from_m;
    }
}

TEST_F(ProfileWindowTest, AStretchOutsideTheRouteIsKeptWithinIt) {
    // Past the end, or narrower than a metre: drawn within the route, never a division by zero.
    for (const auto& [from, to] : std::vector<std::pair<double, double>>{{-5000, -1000}, {90000, 95000}, {300, 300}}) {
        const std::string stretch = window(from, to);
        EXPECT_FALSE(std::regex_search(stretch, std::regex("[^a-z](nan|inf)[^a-z]"))) << from << " " << to;
        EXPECT_NE(stretch.find("<g id=\"profile\""), std::string::npos);
    }
}

}  // namespace
}  // namespace scenariogen
