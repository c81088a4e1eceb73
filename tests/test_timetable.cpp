// The running-time model: hand-computable legs in closed form, the legs the
// model cannot run, the schedule arithmetic of stops, and the step halving.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "format/records.h"
#include "timetable/timetable_check.h"
#include "timetable/train_model.h"
#include "timetable_fixtures.h"

namespace scenariogen {
namespace {

using namespace testing::timetable;

struct RunCase {
    std::string name;
    std::vector<Cell> cells;
    std::vector<Stop> stops;
    TrainModel train;
    std::vector<double> expected_s;  // the minimum of each leg, in closed form
};

// Each leg has an hour: the model's figures are what the cases look at.
std::vector<RunCase> closed_form_cases() {
    std::vector<RunCase> cases;
    const double v100 = ms(100);
    cases.push_back({"flat 10 km under one limit",
                     route(10000, 100),
                     {{0, kSix}, {10000, kSix + 3600}},
                     model(),
                     {full_run(10000, v100, kA, kB)}});

    cases.push_back({"the train's maximum below the line limit",
                     route(10000, 140),
                     {{0, kSix}, {10000, kSix + 3600}},
                     model(100),
                     {full_run(10000, v100, kA, kB)}});

    {
        // 120 km/h with 60 km/h over 4000 to 5000 m: brake to 60 by 4000,
        // hold it to 5000, accelerate back, brake to the stop.
        std::vector<Cell> cells = route(10000, 120);
        over(cells, 4000, 5000, [](Cell& c) { c.speed_limit = 12; });
        const double v1 = ms(120), v2 = ms(60);
        const double phases =
            v1 * v1 / (2 * kA) + (v1 * v1 - v2 * v2) / (2 * kB) + (v1 * v1 - v2 * v2) / (2 * kA) + v1 * v1 / (2 * kB);
        const double t = v1 / kA + (v1 - v2) / kB + 1000 / v2 + (v1 - v2) / kA + v1 / kB + (10000 - 1000 - phases) / v1;
        cases.push_back({"a lower line limit in the middle", cells, {{0, kSix}, {10000, kSix + 3600}}, model(), {t}});

        // The same as a slowdown: start cell 81 (4000 m), end cell 101 (5000 m).
        std::vector<Cell> slowed = route(10000, 120);
        slowed[81].kind = kSlowdownStart;
        slowed[81].value_1 = 60;
        slowed[101].kind = kSlowdownEnd;
        slowed[101].value_1 = 60;
        slowed[57].kind = kSlowdownWarning;  // the warning 1200 m before limits nothing
        slowed[57].value_1 = 60;
        cases.push_back({"a slowdown in the middle", slowed, {{0, kSix}, {10000, kSix + 3600}}, model(), {t}});
    }

    for (const int gradient : {10, -10}) {
        std::vector<Cell> cells = route(10000, 100);
        over(cells, 0, 10000, [gradient](Cell& c) { c.gradient = static_cast<std::uint8_t>(100 + gradient); });
        const double pull = kG * gradient / 1000;
        cases.push_back({"a gradient of " + std::to_string(gradient) + " per mille",
                         cells,
                         {{0, kSix}, {10000, kSix + 3600}},
                         model(),
                         {full_run(10000, v100, kA - pull, kB + pull)}});
    }

    {
        // 1000 m under 120 km/h: no room to reach it. The peak v² = 2·L·a·b/(a + b)
        // is reached after accelerating; then braking to the stop.
        const double peak = std::sqrt(2 * 1000 * kA * kB / (kA + kB));
        cases.push_back({"no room to reach the limit",
                         route(1000, 120),
                         {{0, kSix}, {1000, kSix + 3600}},
                         model(),
                         {peak / kA + peak / kB}});
    }

    {
        // Passing the middle station (no stop) splits one full run in two:
        // the first leg accelerates and cruises to 5000 m, the second
        // cruises and brakes.
        const double half = 5000 / v100 - v100 / (2 * kA) + v100 / kA;
        cases.push_back({"a station passed without stopping",
                         route(10000, 100),
                         {{0, kSix}, {5000, kSix + 1800, 0}, {10000, kSix + 3600}},
                         model(),
                         {half, full_run(10000, v100, kA, kB) - half}});
    }

    {
        // A stop in the middle: two full runs of 5000 m each.
        cases.push_back({"a stop in the middle",
                         route(10000, 100),
                         {{0, kSix}, {5000, kSix + 1800, 60}, {10000, kSix + 3600}},
                         model(),
                         {full_run(5000, v100, kA, kB), full_run(5000, v100, kA, kB)}});
    }
    return cases;
}

TEST(TimetableModel, LegsInClosedForm) {
    for (const RunCase& c : closed_form_cases()) {
        const TimetableCheck check = check_timetable(c.cells, timetable(c.stops), c.train);
        ASSERT_EQ(check.legs.size(), c.expected_s.size()) << c.name;
        for (std::size_t k = 0; k < c.expected_s.size(); ++k) {
            ASSERT_EQ(check.legs[k].status, LegStatus::kRunnable) << c.name;
            // Solved in closed form: exact up to rounding.
            EXPECT_NEAR(check.legs[k].minimum_s, c.expected_s[k], 1e-6) << c.name << ", leg " << k;
        }
    }
}

// An independent reckoning of the same run: the route cut into steps of
// `step` metres, the highest speed² at each point back from the stop, then
// forward from the start, each step at its constant acceleration. The
// result approaches the exact run as the step shrinks.
struct SteppedRun {
    std::vector<double> position;
    std::vector<double> speed2;
    std::vector<double> time;
};

SteppedRun stepped_run(const std::vector<Cell>& cells, const TrainModel& m, double from, double to, double step) {
    SteppedRun run;
    const auto steps = static_cast<std::size_t>(std::llround((to - from) / step));
    for (std::size_t k = 0; k <= steps; ++k) {
        run.position.push_back(from + (to - from) * static_cast<double>(k) / static_cast<double>(steps));
    }
    std::vector<double> limit2, up, down;
    for (std::size_t k = 0; k < steps; ++k) {
        const Cell& c = cells[static_cast<std::size_t>((run.position[k] + run.position[k + 1]) / 2 / 50) + 1];
        const double v = std::min(c.speed_limit * 5.0, m.max_speed_kmh) / 3.6;
        limit2.push_back(v * v);
        up.push_back(m.acceleration - kG * (c.gradient - 100) / 1000);
        down.push_back(m.braking + kG * (c.gradient - 100) / 1000);
    }
    std::vector<double> envelope(steps + 1, 0);
    for (std::size_t k = steps; k-- > 0;) {
        const double cap = std::min(limit2[k], k > 0 ? limit2[k - 1] : limit2[k]);
        envelope[k] = std::min(cap, envelope[k + 1] + 2 * down[k] * (run.position[k + 1] - run.position[k]));
    }
    run.speed2.assign(steps + 1, 0);
    run.time.assign(steps + 1, 0);
    for (std::size_t k = 0; k < steps; ++k) {
        const double length = run.position[k + 1] - run.position[k];
        run.speed2[k + 1] = std::min(envelope[k + 1], run.speed2[k] + 2 * up[k] * length);
        run.time[k + 1] = run.time[k] + 2 * length / (std::sqrt(run.speed2[k]) + std::sqrt(run.speed2[k + 1]));
    }
    return run;
}

TEST(TimetableModel, TheClosedFormAgreesWithAFineStepReckoning) {
    // 6 km under 120 km/h and the train's 100, with 60 km/h over 2000 to
    // 2600 m, a climb of 12 per mille from 1000 to 3000 m, a descent of 15
    // from 3500 to 4500 m and 40 km/h from 4200 to 4300 m; a station passed
    // at 3000 m.
    std::vector<Cell> cells = route(6000, 120);
    over(cells, 2000, 2600, [](Cell& c) { c.speed_limit = 12; });
    over(cells, 1000, 3000, [](Cell& c) { c.gradient = 112; });
    over(cells, 3500, 4500, [](Cell& c) { c.gradient = 85; });
    over(cells, 4200, 4300, [](Cell& c) { c.speed_limit = 8; });
    const TrainModel m = model(100);
    const TimetableCheck check =
        check_timetable(cells, timetable({{0, kSix}, {3000, kSix + 600, 0}, {6000, kSix + 1200}}), m);
    ASSERT_EQ(check.legs.size(), 2u);
    const SteppedRun fine = stepped_run(cells, m, 0, 6000, 0.01);
    const auto fine_time_at = [&](double x) { return fine.time[static_cast<std::size_t>(std::llround(x / 0.01))]; };
    EXPECT_NEAR(check.legs[0].minimum_s, fine_time_at(3000), 0.01);
    EXPECT_NEAR(check.legs[1].minimum_s, fine_time_at(6000) - fine_time_at(3000), 0.01);
    // The speed along the way, every metre of the run as sampled.
    double worst = 0;
    for (const RunPoint& p : check.run) {
        const double fine_speed = std::sqrt(fine.speed2[static_cast<std::size_t>(std::llround(p.position_m / 0.01))]);
        worst = std::max(worst, std::abs(p.speed_kmh / 3.6 - fine_speed));
    }
    EXPECT_LT(worst, 0.02);  // m/s
    // A step of a metre, as the model once took, falls short of the exact
    // run by the corners it cuts, well within a tenth of a second.
    const SteppedRun coarse = stepped_run(cells, m, 0, 6000, 1);
    EXPECT_GE(coarse.time.back(), check.legs[0].minimum_s + check.legs[1].minimum_s - 1e-6);
    EXPECT_NEAR(coarse.time.back(), check.legs[0].minimum_s + check.legs[1].minimum_s, 0.1);
}

TEST(TimetableModel, TheCurvePeaksBelowALimitItHasNoRoomToReach) {
    const TimetableCheck check = check_timetable(route(1000, 120), timetable({{0, kSix}, {1000, kSix + 600}}), model());
    ASSERT_EQ(check.legs.size(), 1u);
    const double peak_kmh = std::sqrt(2 * 1000 * kA * kB / (kA + kB)) * 3.6;
    EXPECT_NEAR(check.legs[0].top_speed_kmh, peak_kmh, 0.1);
    EXPECT_LT(check.legs[0].top_speed_kmh, 120);
    double top = 0;
    for (const RunPoint& p : check.run) {
        top = std::max(top, p.speed_kmh);
        EXPECT_EQ(p.limit_kmh, 120);
    }
    EXPECT_NEAR(top, peak_kmh, 0.1);
    EXPECT_EQ(check.run.front().speed_kmh, 0);
    EXPECT_EQ(check.run.back().speed_kmh, 0);
}

TEST(TimetableModel, TheCurveKeepsEveryLimit) {
    std::vector<Cell> cells = route(10000, 120);
    over(cells, 4000, 5000, [](Cell& c) { c.speed_limit = 12; });
    const TimetableCheck check = check_timetable(cells, timetable({{0, kSix}, {10000, kSix + 3600}}), model());
    bool held_sixty = false;
    for (const RunPoint& p : check.run) {
        EXPECT_LE(p.speed_kmh, p.limit_kmh + 1e-9) << p.position_m;
        if (p.position_m >= 4000 && p.position_m <= 5000) {
            EXPECT_NEAR(p.speed_kmh, 60, 1e-6) << p.position_m;
            held_sixty = true;
        }
    }
    EXPECT_TRUE(held_sixty);
}

// The scheduled time of a leg runs from the departure to the arrival, which
// is the station's time less its stop; at the terminus the time itself.
TEST(TimetableSchedule, StopsShortenTheLegBeforeThem) {
    const std::vector<Stop> stops{{0, kSix, 1}, {5000, kSix + 600, 60}, {10000, kSix + 1200, 60}};
    const TimetableCheck check = check_timetable(route(10000, 100), timetable(stops), model());
    ASSERT_EQ(check.legs.size(), 2u);
    EXPECT_EQ(check.legs[0].scheduled_s, 540);  // 6:10:00 less 60 s of stop, from 6:00:00
    EXPECT_EQ(check.legs[1].scheduled_s, 600);  // the terminus: its time is the arrival
    EXPECT_TRUE(check.stations[1].stops);
    ASSERT_EQ(check.schedule.size(), 3u);
    EXPECT_EQ(check.schedule[0].arrival_s, kSix);
    EXPECT_EQ(check.schedule[1].arrival_s, kSix + 540);
    EXPECT_EQ(check.schedule[1].departure_s, kSix + 600);
    EXPECT_EQ(check.schedule[2].departure_s, kSix + 1200);

    // The model's run stops 60 s in the middle: it arrives early and leaves
    // at the scheduled 6:10:00.
    const double leg = full_run(5000, ms(100), kA, kB);
    std::vector<double> clocks_at_middle;
    for (const RunPoint& p : check.run) {
        if (p.position_m == 5000) clocks_at_middle.push_back(p.clock_s);
    }
    ASSERT_EQ(clocks_at_middle.size(), 2u);
    EXPECT_NEAR(clocks_at_middle[0], kSix + leg, 0.05);
    EXPECT_EQ(clocks_at_middle[1], kSix + 600);
    EXPECT_NEAR(check.run.back().clock_s, kSix + 600 + leg, 0.05);
}

TEST(TimetableSchedule, ALateArrivalDelaysTheDepartureByTheStop) {
    // 5000 m in 7 min less the stop of 200 s; the model needs 3 min 56 s,
    // stops 200 s and leaves at 6:07:16, after the scheduled 6:07:00.
    const std::vector<Stop> stops{{0, kSix}, {5000, kSix + 420, 200}, {10000, kSix + 1200}};
    const TimetableCheck check = check_timetable(route(10000, 100), timetable(stops), model());
    const double leg = full_run(5000, ms(100), kA, kB);
    std::vector<double> clocks_at_middle;
    for (const RunPoint& p : check.run) {
        if (p.position_m == 5000) clocks_at_middle.push_back(p.clock_s);
    }
    ASSERT_EQ(clocks_at_middle.size(), 2u);
    EXPECT_NEAR(clocks_at_middle[1], kSix + leg + 200, 0.05);
    EXPECT_TRUE(check.legs[0].too_tight());  // 220 s scheduled
}

TEST(TimetableSchedule, SlackAndTheLegThatCannotBeKept) {
    const double needed = full_run(10000, ms(100), kA, kB);  // 415.56 s: 416 in whole seconds
    struct Case {
        std::int32_t scheduled;
        bool too_tight;
    };
    for (const Case c : {Case{600, false}, Case{416, false}, Case{415, true}, Case{360, true}}) {
        const TimetableCheck check =
            check_timetable(route(10000, 100), timetable({{0, kSix}, {10000, kSix + c.scheduled}}), model());
        ASSERT_EQ(check.legs.size(), 1u);
        EXPECT_EQ(check.legs[0].too_tight(), c.too_tight) << c.scheduled;
        EXPECT_EQ(check.legs[0].minimum_whole_s(), 416);
        EXPECT_NEAR(check.legs[0].slack_percent(), (c.scheduled - needed) / needed * 100, 1e-2) << c.scheduled;
    }
}

TEST(TimetableSchedule, ACrawlLongerThanAnySchedule) {
    TrainModel crawling = model();
    crawling.acceleration = 1e-300;  // 10 km take some 1e152 s
    const TimetableCheck check =
        check_timetable(route(10000, 100), timetable({{0, kSix}, {10000, kSix + 3600}}), crawling);
    ASSERT_EQ(check.legs[0].status, LegStatus::kRunnable);
    EXPECT_GT(check.legs[0].minimum_s, 1e150);
    EXPECT_EQ(check.legs[0].minimum_whole_s(), 32000000000000);
    EXPECT_TRUE(check.legs[0].too_tight());
}

TEST(TimetableSchedule, ALegOverMidnight) {
    const TimetableCheck check =
        check_timetable(route(10000, 100), timetable({{0, 23 * 3600 + 55 * 60}, {10000, 5 * 60}}), model());
    ASSERT_EQ(check.legs.size(), 1u);
    EXPECT_EQ(check.legs[0].scheduled_s, 600);
    ASSERT_EQ(check.schedule.size(), 2u);
    EXPECT_EQ(check.schedule[1].arrival_s, 24 * 3600 + 5 * 60);  // the clock runs on past midnight
    EXPECT_NEAR(check.run.back().clock_s, 23 * 3600 + 55 * 60 + full_run(10000, ms(100), kA, kB), 0.05);
}

TEST(TimetableModel, LegsTheModelCannotRun) {
    struct Case {
        std::string name;
        std::function<void(std::vector<Cell>&)> change;
        BlockageCause cause;
        double position;
    };
    const std::vector<Case> cases{
        {"no line limit over 3000 to 3500 m",
         [](std::vector<Cell>& c) { over(c, 3000, 3500, [](Cell& x) { x.speed_limit = 0; }); }, BlockageCause::kNoSpeed,
         3000},
        {"a slowdown at 0 km/h from 2000 m",
         [](std::vector<Cell>& c) {
             c[41].kind = kSlowdownStart;
             c[61].kind = kSlowdownEnd;
         },
         BlockageCause::kNoSpeed, 2000},
        {"60 per mille up from the start: more than the acceleration",
         [](std::vector<Cell>& c) { over(c, 0, 2000, [](Cell& x) { x.gradient = 160; }); }, BlockageCause::kTooSteepUp,
         0},
        {"60 per mille down before the stop: more than the braking",
         [](std::vector<Cell>& c) { over(c, 8000, 10000, [](Cell& x) { x.gradient = 40; }); },
         BlockageCause::kTooSteepDown, 8000},
    };
    for (const Case& c : cases) {
        std::vector<Cell> cells = route(10000, 100);
        c.change(cells);
        const TimetableCheck check =
            check_timetable(cells, timetable({{0, kSix}, {5000, kSix + 1800, 0}, {10000, kSix + 3600}}), model());
        ASSERT_EQ(check.legs.size(), 2u) << c.name;
        const LegCheck& blocked = check.legs[c.position < 5000 ? 0 : 1];
        ASSERT_EQ(blocked.status, LegStatus::kBlocked) << c.name;
        ASSERT_TRUE(blocked.blockage) << c.name;
        EXPECT_EQ(blocked.blockage->cause, c.cause) << c.name;
        EXPECT_NEAR(blocked.blockage->position_m, c.position, 1) << c.name;
        EXPECT_FALSE(blocked.too_tight()) << c.name;
    }
}

TEST(TimetableModel, AStallMidwayUpAClimb) {
    // 2 km of 80 per mille after 3 km on the level: the train rolls into
    // the climb at 100 km/h and slows at 9.81 · 0.08 − 0.5 = 0.285 m/s²:
    // it stops after v² / (2 · 0.285) m.
    std::vector<Cell> cells = route(10000, 100);
    over(cells, 3000, 5000, [](Cell& x) { x.gradient = 180; });
    const TimetableCheck check = check_timetable(cells, timetable({{0, kSix}, {10000, kSix + 3600}}), model());
    ASSERT_EQ(check.legs[0].status, LegStatus::kBlocked);
    const double slowing = kG * 0.08 - kA;
    EXPECT_NEAR(check.legs[0].blockage->position_m, 3000 + ms(100) * ms(100) / (2 * slowing), 1);
    EXPECT_EQ(check.legs[0].blockage->gradient_per_mille, 80);
}

TEST(TimetableModel, StationsThatDoNotGoAhead) {
    const TimetableCheck check = check_timetable(
        route(10000, 100), timetable({{0, kSix}, {5000, kSix + 600, 30}, {5000, kSix + 900, 30}, {9000, kSix + 1500}}),
        model());
    ASSERT_EQ(check.legs.size(), 3u);
    EXPECT_EQ(check.legs[0].status, LegStatus::kRunnable);
    EXPECT_EQ(check.legs[1].status, LegStatus::kNotAhead);
    EXPECT_EQ(check.legs[2].status, LegStatus::kRunnable);
    EXPECT_NEAR(check.legs[2].minimum_s, full_run(4000, ms(100), kA, kB), 0.05);

    // The run breaks off at the second station and starts again from the
    // third at its scheduled departure.
    std::vector<RunPoint> resumed;
    for (const RunPoint& p : check.run) {
        if (p.after_gap) resumed.push_back(p);
    }
    ASSERT_EQ(resumed.size(), 1u);
    EXPECT_EQ(resumed[0].position_m, 5000);
    EXPECT_EQ(resumed[0].clock_s, kSix + 900);
}

TEST(TimetableModel, NothingToCheckWithoutTwoStations) {
    for (const std::vector<Stop>& stops : {std::vector<Stop>{}, std::vector<Stop>{{0, kSix}}}) {
        const TimetableCheck check = check_timetable(route(10000, 100), timetable(stops), model());
        EXPECT_TRUE(check.legs.empty());
        EXPECT_TRUE(check.run.empty());
    }
}

TEST(TimetableModel, StationsOffTheCellsCannotBeRun) {
    const TimetableCheck check =
        check_timetable(route(1000, 100), timetable({{-500, kSix}, {500, kSix + 600}, {3000, kSix + 1200}}), model());
    ASSERT_EQ(check.legs.size(), 2u);
    EXPECT_EQ(check.legs[0].status, LegStatus::kBlocked);
    EXPECT_EQ(check.legs[1].status, LegStatus::kBlocked);

    // Far beyond the cells: the run halts where they end (cell 40, 2000 m).
    const TimetableCheck far =
        check_timetable(route(1000, 100), timetable({{0, kSix}, {2000000000, kSix + 600}}), model());
    ASSERT_EQ(far.legs.size(), 1u);
    ASSERT_EQ(far.legs[0].status, LegStatus::kBlocked);
    EXPECT_EQ(far.legs[0].blockage->position_m, 2000);
}

// The braked-mass percentage of brake position P: 80 % stops a train from
// 120 km/h within 1000 m.
TEST(TimetableModel, BrakingFromTheBrakedMassPercentage) {
    EXPECT_NEAR(braking_from_braked_mass(80), ms(120) * ms(120) / 2000, 1e-12);
    EXPECT_NEAR(braking_from_braked_mass(130), 0.9028, 1e-4);
    EXPECT_EQ(braking_from_braked_mass(0), 0);
    EXPECT_EQ(braking_from_braked_mass(-20), 0);

    const TrainModel by_default = train_model({}, 130);
    EXPECT_EQ(by_default.acceleration, 0.5);
    EXPECT_EQ(by_default.max_speed_kmh, 130);
    EXPECT_NEAR(by_default.braking, 0.9028, 1e-4);
    const TrainModel chosen = train_model({0.7, 0.6, 100.0}, 130);
    EXPECT_EQ(chosen.acceleration, 0.7);
    EXPECT_EQ(chosen.braking, 0.6);
    EXPECT_EQ(chosen.max_speed_kmh, 100);
}

}  // namespace
}  // namespace scenariogen
