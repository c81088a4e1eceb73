// The model's run on the page: the driving curve over the profile and the
// time-distance graph beside the scheduled times.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "timetable_fixtures.h"
#include "views/timetable/run_geometry.h"

namespace scenariogen {
namespace {

using namespace testing::timetable;

// Three legs, the second of which the model cannot run (no speed over
// 9000 to 9500 m): the run breaks off there and starts again at 10000 m.
TimetableCheck with_a_gap() {
    std::vector<Cell> cells = route(15000, 100);
    over(cells, 9000, 9500, [](Cell& c) { c.speed_limit = 0; });
    return check_timetable(
        cells, timetable({{0, kSix}, {5000, kSix + 600, 60}, {10000, kSix + 1200, 60}, {15000, kSix + 1800}}), model());
}

TEST(TimetableGeometry, TheDrivingCurveBreaksWhereTheRunCannotGoOn) {
    const TimetableCheck check = with_a_gap();
    const auto lines = speed_polylines(
        check, [](double m) { return m / 100; }, [](double kmh) { return 100 - kmh / 2; }, 0.2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].front().x, 0);
    EXPECT_EQ(lines[0].front().y, 100);        // standstill at the start
    EXPECT_NEAR(lines[0].back().x, 90, 1e-9);  // brakes to a halt at 9000 m
    EXPECT_NEAR(lines[0].back().y, 100, 1e-9);
    EXPECT_EQ(lines[1].front().x, 100);  // starts again at 10000 m
    EXPECT_EQ(lines[1].back().x, 150);
    EXPECT_EQ(lines[1].back().y, 100);
    for (const Polyline& line : lines) {
        for (std::size_t i = 1; i + 1 < line.size(); ++i) {
            EXPECT_GE(std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y), 0.2);
            EXPECT_GE(line[i].y, 50);  // never above 100 km/h
        }
    }
}

TEST(TimetableGeometry, TheTimeDistanceGraph) {
    const TimetableCheck check = with_a_gap();
    const TimeDistanceScale scale = time_distance_scale(check, {10, 20, 130, 80});
    // 6:00 to 6:30 scheduled; ticks every 5 minutes.
    EXPECT_EQ(scale.tick_s, 300);
    EXPECT_EQ(scale.first_s, kSix);
    EXPECT_EQ(scale.last_s, kSix + 1800);
    EXPECT_EQ(scale.ticks().size(), 7u);
    EXPECT_EQ(scale.x(kSix), 10);
    EXPECT_EQ(scale.x(kSix + 1800), 130);
    EXPECT_EQ(scale.y(0), 20);
    EXPECT_EQ(scale.y(15000), 80);

    const std::vector<ScheduledMark> marks = scheduled_marks(check, scale);
    ASSERT_EQ(marks.size(), 6u);  // departure, then arrival and departure at each stop, arrival
    EXPECT_EQ(marks[0].title, "S1 dep 6:00:00");
    EXPECT_EQ(marks[1].title, "S2 arr 6:09:00");
    EXPECT_EQ(marks[2].title, "S2 dep 6:10:00");
    EXPECT_EQ(marks[5].title, "S4 arr 6:30:00");

    const auto lines = run_polylines(check, scale, 0.2);
    ASSERT_EQ(lines.size(), 2u);
    for (const Polyline& line : lines) {
        for (std::size_t i = 1; i < line.size(); ++i) {
            EXPECT_GE(line[i].x, line[i - 1].x);  // the clock never goes back
            EXPECT_GE(line[i].y, line[i - 1].y);  // nor the train
        }
    }
    // The run starts again at the scheduled departure from the third station.
    EXPECT_DOUBLE_EQ(lines[1].front().x, scale.x(kSix + 1200));
    EXPECT_DOUBLE_EQ(lines[1].front().y, scale.y(10000));
}

TEST(TimetableGeometry, ClockText) {
    EXPECT_EQ(graph_clock_text(6 * 3600 + 39 * 60), "6:39:00");
    EXPECT_EQ(graph_clock_text(24 * 3600 + 5 * 60 + 0.4), "0:05:00");
}

}  // namespace
}  // namespace scenariogen
