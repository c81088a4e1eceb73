// The timetable check as the author reads it: durations, the sentence for
// each leg that cannot be kept, the table and the JSON.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "timetable_fixtures.h"
#include "views/timetable/timetable_report.h"

namespace scenariogen {
namespace {

using namespace testing::timetable;

TEST(TimetableReport, Durations) {
    const std::vector<std::pair<std::int64_t, std::string>> cases{
        {0, "0 s"},          {59, "59 s"},  {401, "6 min 41 s"}, {3600, "1 h 0 min 0 s"}, {3723, "1 h 2 min 3 s"},
        {-60, "-1 min 0 s"}, {-15, "-15 s"}};
    for (const auto& [seconds, text] : cases) EXPECT_EQ(duration_text(seconds), text) << seconds;
}

// 10 km under 100 km/h needs 415.56 s (416 in whole seconds) at a = b = 0.5.
TimetableCheck ten_km(std::int32_t scheduled, const std::function<void(std::vector<Cell>&)>& change = {}) {
    std::vector<Cell> cells = route(10000, 100);
    if (change) change(cells);
    return check_timetable(cells, timetable({{0, kSix}, {10000, kSix + scheduled}}), model());
}

TEST(TimetableReport, WhyALegCannotBeKept) {
    struct Case {
        TimetableCheck check;
        std::optional<std::string> problem;
    };
    const std::vector<Case> cases{
        {ten_km(416), std::nullopt},
        {ten_km(360), "S1 \u2192 S2 is scheduled in 6 min 0 s; the train needs at least 6 min 56 s at these limits"},
        {ten_km(600, [](std::vector<Cell>& c) { over(c, 3000, 3500, [](Cell& x) { x.speed_limit = 0; }); }),
         "S1 \u2192 S2 cannot be run at these limits: the speed in force is 0 km/h at 3000 m"},
        {ten_km(600, [](std::vector<Cell>& c) { over(c, 0, 2000, [](Cell& x) { x.gradient = 160; }); }),
         "S1 \u2192 S2 cannot be run at these limits: the train stalls at 0 m on the climb of 60 \u2030"},
        {ten_km(600, [](std::vector<Cell>& c) { over(c, 8000, 10000, [](Cell& x) { x.gradient = 40; }); }),
         "S1 \u2192 S2 cannot be run at these limits: the train cannot brake on the descent of -60 \u2030 from "
         "8000 m"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.check.legs.size(), 1u);
        EXPECT_EQ(leg_problem(c.check, c.check.legs[0]), c.problem);
    }
}

TEST(TimetableReport, TableAndJson) {
    const TimetableCheck check = check_timetable(
        route(10000, 100), timetable({{0, kSix}, {5000, kSix + 360, 60}, {10000, kSix + 600}}), model());
    const std::string table = timetable_table(check);
    EXPECT_EQ(table,
              "Running-time model: acceleration 0.50 m/s\u00b2, braking 0.50 m/s\u00b2, top speed 200 km/h\n"
              "From  To  Distance  Scheduled  Minimum    Slack  Top speed\n"
              "S1    S2  5.000 km       5:00     3:56  +27.4 %   100 km/h\n"
              "S2    S3  5.000 km       4:00     3:56   +1.9 %   100 km/h\n");

    const nlohmann::json j = timetable_json(check);
    ASSERT_EQ(j["legs"].size(), 2u);
    EXPECT_EQ(j["legs"][0]["from"], "S1");
    EXPECT_EQ(j["legs"][0]["scheduled_s"], 300);
    EXPECT_EQ(j["legs"][0]["minimum_s"], 235.56);
    EXPECT_EQ(j["legs"][0]["status"], "ok");
    EXPECT_TRUE(j["legs"][0]["problem"].is_null());
    EXPECT_EQ(j["stations"][1]["time"], "6:06:00");
    EXPECT_EQ(j["stations"][1]["stop_s"], 60);
    EXPECT_EQ(j["model"]["braking_ms2"], 0.5);
    EXPECT_TRUE(j["model"]["braked_mass_percent"].is_null());

    const TimetableCheck tight = ten_km(360);
    EXPECT_NE(timetable_table(tight).find("-13.4 %   100 km/h  too tight\n"), std::string::npos)
        << timetable_table(tight);
    EXPECT_EQ(timetable_json(tight)["legs"][0]["status"], "too tight");
}

// A name longer than any sign holds is cut in the table, so that the table
// stays as wide as its other columns; the JSON keeps it whole.
TEST(TimetableReport, AVeryLongNameIsCutInTheTable) {
    StationTable stations = timetable({{0, kSix}, {10000, kSix + 600}});
    stations[2].name = "ROVERE " + std::string(5000, 'B');
    const TimetableCheck check = check_timetable(route(10000, 100), stations, model());
    const std::string table = timetable_table(check);
    EXPECT_NE(table.find("\nS1    ROVERE " + std::string(32, 'B') + "\u2026  10.000 km"), std::string::npos) << table;
    for (std::size_t at = 0, end; (end = table.find('\n', at)) != std::string::npos; at = end + 1) {
        EXPECT_LT(end - at, 120u) << table;
    }
    EXPECT_EQ(timetable_json(check)["legs"][0]["to"], stations[2].name);
}

}  // namespace
}  // namespace scenariogen
