// The running-time model on the scenario's own line and train: every leg of
// the timetable can be kept with the model's defaults.
#include <gtest/gtest.h>

#include "test_support.h"
#include "timetable/timetable_check.h"
#include "timetable/train_model.h"

namespace scenariogen {
namespace {

TimetableCheck own_check() {
    const testing::Compiled compiled = testing::compile_texts(testing::own_line_text(), testing::own_train_text());
    const TrainModel model = train_model({}, compiled.s.stations[kTrainEntry].start);
    return check_timetable(compiled.s.cells, compiled.s.stations, model);
}

TEST(TimetableFixedRun, EveryLegCanBeKept) {
    const TimetableCheck check = own_check();
    ASSERT_EQ(check.stations.size(), 9u);
    ASSERT_EQ(check.legs.size(), 8u);
    for (const LegCheck& leg : check.legs) {
        const std::string name = check.stations[leg.from].name + " - " + check.stations[leg.to].name;
        EXPECT_EQ(leg.status, LegStatus::kRunnable) << name;
        EXPECT_FALSE(leg.too_tight()) << name << ": " << leg.scheduled_s << " s against " << leg.minimum_s;
        EXPECT_GT(leg.slack_percent(), 0) << name;
    }
}

// LUVERA (5300 m, leaves 6:39:00) to BRENDAGO (12800 m, 6:46:00 less its
// 60 s stop): 7500 m on the level under 140 km/h, which the train's 130 km/h
// caps. With a = 0.5 m/s² and b = 130/80 · (120/3.6)²/2000 = 0.9028 m/s²:
//   V = 36.111 m/s; L/V = 207.69 s; V/2a = 36.11 s; V/2b = 20.00 s;
//   minimum 263.80 s (4 min 24 s) against 360 s scheduled: 36.5 % slack.
TEST(TimetableFixedRun, OneLegByHand) {
    const TimetableCheck check = own_check();
    const LegCheck& leg = check.legs[1];
    EXPECT_EQ(check.stations[leg.from].name, "LUVERA");
    EXPECT_EQ(check.stations[leg.to].name, "BRENDAGO");
    EXPECT_EQ(leg.distance_m, 7500);
    EXPECT_EQ(leg.scheduled_s, 360);
    EXPECT_NEAR(leg.minimum_s, 263.80, 0.01);
    EXPECT_EQ(leg.minimum_whole_s(), 264);
    EXPECT_NEAR(leg.slack_percent(), 36.47, 0.01);
    EXPECT_NEAR(leg.top_speed_kmh, 130, 1e-9);
}

}  // namespace
}  // namespace scenariogen
