// Where the train is at a time of day, on the fastest run and as the
// timetable has it: the time slider's marks.
#include <gtest/gtest.h>

#include <optional>

#include "timetable/train_place.h"

namespace scenariogen {
namespace {

// Three stations: A at 0 m departs at 100 s; B at 1000 m, 200 to 260 s; C
// at 3000 m arrives at 400 s. The run: from A at 1 m/s² to 20 m/s (200 m,
// 120 s), cruising to 900 m (155 s), braking at 2 m/s² into B (1000 m,
// 165 s), standing to its departure at 260 s; the leg to C the model could
// not finish, so it starts again at C (a gap).
TimetableCheck three_stations() {
    TimetableCheck check;
    for (const auto& [name, position] : {std::pair{"A", 0}, std::pair{"B", 1000}, std::pair{"C", 3000}}) {
        TimetableStation station;
        station.name = name;
        station.position_m = position;
        check.stations.push_back(station);
    }
    check.schedule = {{100, 100}, {200, 260}, {400, 400}};
    check.run = {{0, 0, 140, 100, false},    {200, 72, 140, 120, false}, {900, 72, 140, 155, false},
                 {1000, 0, 140, 165, false}, {1000, 0, 140, 260, false}, {3000, 0, 140, 400, true}};
    return check;
}

TEST(TrainPlace, OnTheRunAndOnTheTimetableAtEveryKindOfMoment) {
    struct Case {
        const char* moment;
        double clock_s;
        std::optional<double> run_m;
        double speed_kmh;
        double scheduled_m;
    };
    const Case cases[] = {
        {"before the departure: at the first station", 50, 0, 0, 0},
        {"at the departure", 100, 0, 0, 0},
        {"accelerating: 1/2 a t^2", 110, 50, 36, 100},
        {"cruising", 130, 400, 72, 300},
        {"braking: 20 m/s less 2 m/s^2 for 5 s", 160, 975, 36, 600},
        {"during the stop", 230, 1000, 0, 1000},
        {"in a gap of the run: nowhere; the timetable at an even pace", 330, std::nullopt, 0, 2000},
        {"after the arrival: at the terminus", 500, 3000, 0, 3000},
    };
    const TimetableCheck check = three_stations();
    for (const Case& c : cases) {
        const TrainPlace place = train_place_at(check, c.clock_s);
        ASSERT_EQ(place.run_m.has_value(), c.run_m.has_value()) << c.moment;
        if (c.run_m) {
            EXPECT_NEAR(*place.run_m, *c.run_m, 1e-9) << c.moment;
            EXPECT_NEAR(place.run_speed_kmh, c.speed_kmh, 1e-9) << c.moment;
        }
        ASSERT_TRUE(place.scheduled_m.has_value()) << c.moment;
        EXPECT_NEAR(*place.scheduled_m, c.scheduled_m, 1e-9) << c.moment;
    }
}

TEST(TrainPlace, WithoutARunOrStationsThereIsNoPlace) {
    TimetableCheck check = three_stations();
    check.run.clear();
    EXPECT_FALSE(train_place_at(check, 130).run_m);
    EXPECT_EQ(train_place_at(check, 130).scheduled_m, 300);
    EXPECT_FALSE(train_place_at(TimetableCheck{}, 130).scheduled_m);
}

}  // namespace
}  // namespace scenariogen
