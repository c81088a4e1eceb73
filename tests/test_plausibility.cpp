// What the format allows but no railway means: each mistake gets its
// warning at the line of the value (and a note at the other line where two
// lines disagree); what real railways do stays silent.
#include <gtest/gtest.h>

#include "lint_fixtures.h"

namespace scenariogen::testing {
namespace {

// The column where `piece` begins in `text` (1-based).
int column_of(const std::string& text, const std::string& piece) {
    const auto at = text.find(piece);
    EXPECT_NE(at, std::string::npos) << piece << " in " << text;
    return static_cast<int>(at) + 1;
}

// A station line: position, type, length, stop, time and name; the
// attributes as the fixture's stations have them.
std::string station(int position, int type, int length, int stop, const std::string& time, const std::string& name) {
    return "stazione,  " + std::to_string(position) + ",  " + std::to_string(type) + ",  " + std::to_string(length) +
           ",  0,  0,  0,  1,  1,  0,  4,  1,  1,  " + std::to_string(stop) + ",  " + time + ",   " + name;
}

// VALBRUNA at 0 m, a station at 5000 m, ROCCA at 9500 m.
std::string with_middle(const std::string& middle) { return middle + "\n" + kTrainLines[12]; }

const std::string kLongName(5000, 'X');
const std::string kMiddleRocca = station(5000, 12, 600, 60, "8,  5,  0", "ROCCA");
const std::string kMiddleOneSecond = station(5000, 27, 300, 1, "8,  5,  0", "PIANA");
const std::string kSlowBoard = "indicatori_vmax,  600,  22,  24,  25,  0,    ,    ,    ,  0";
const std::string kCurveEnd = "curvad5,  2000,  2500";
const std::string kLongSign = "cartello_indicatore,  1500,     (" + std::string(200, 'x') + ")";
const std::string kLateClock = "orologio,    8  5  0 ";
const std::string kNoTime = rocca({{14, "1"}});

TEST(Plausibility, EachMistakeIsAWarningAtItsLine) {
    expect_mistakes({
        {"a line limit of 1000 km/h",
         {},
         {{9, "velocita,  0,  1000"}},
         {warning(T, 9, 16, "speed-limit")},
         "1000 km/h"},
        {"a line limit of 0 km/h before the last station",
         {},
         {{10, "velocita,  6000,  0"}},
         {warning(T, 10, 19, "speed-limit")},
         "from 6000 m"},
        {"a slowdown faster than the line limit where it lies",
         {},
         {{15, "rallentamento,  4000,  120,  600,  1,  1,  0"}},
         {warning(T, 15, 24, "slowdown-speed")},
         "it slows nothing",
         9},
        {"a slowdown to 0 km/h",
         {},
         {{15, "rallentamento,  4000,  0,  600,  1,  1,  0"}},
         {warning(T, 15, 24, "slowdown-speed")}},
        {"boards that show 22, 24 and 25 km/h where the line allows 110",
         {{21, kSlowBoard}},
         {},
         {warning(L, 21, 25, "board-limit")},
         "at most 25 km/h",
         9},
        {"two stations with one name",
         {},
         {{13, with_middle(kMiddleRocca)}},
         {warning(T, 14, column_of(kTrainLines[12], "ROCCA"), "duplicate-station")},
         "stands already at 5000 m",
         13},
        {"a station name of 5000 characters",
         {},
         {{13, rocca({}, "   " + kLongName)}},
         {warning(T, 13, column_of(rocca(), "ROCCA"), "long-name")}},
        {"a sign text of 200 characters", {{23, kLongSign}}, {}, {warning(L, 23, 33, "long-name")}},
        {"a stop of 1 s where a minute was meant",
         {},
         {{13, with_middle(kMiddleOneSecond)}},
         {warning(T, 13, column_of(kMiddleOneSecond, "1,  8,"), "short-stop")},
         "a stop of a minute is written 60"},
        {"a stop of 0 at an intermediate station where the train stops at the others",
         {},
         {{13, station(3500, 12, 600, 60, "8,  4,  0", "PIANA") + "\n" +
                   station(6500, 12, 600, 0, "8,  6,  0", "COLLE") + "\n" + kTrainLines[12]}},
         {warning(T, 14, column_of(station(6500, 12, 600, 0, "8,  6,  0", "COLLE"), "0,  8,  6"), "no-stop")},
         "passes it without stopping",
         13},
        {"a curve whose end is written where its length belongs",
         {{11, kCurveEnd}},
         {},
         {warning(L, 11, 18, "curve-angle")},
         "a curve from 2000 m to 2500 m is 500 m long"},
        {"a slowdown whose end is written where its length belongs",
         {},
         {{15, "rallentamento,  4000,  30,  4600,  1,  1,  0"}},
         {warning(T, 15, 29, "slowdown-length")},
         "one that ends at 4600 m is 600 m long"},
        {"a falling progressive whose reference is in kilometres",
         {{4, "progressiva chilometrica due,  1000,  50,  1"}},
         {},
         {warning(L, 4, 39, "progressive")},
         "the reference is in metres"},
        {"a gradient of 120 per mille", {{15, "pendenza,  3000,  120"}}, {}, {warning(L, 15, 19, "steep-gradient")}},
        {"0 % braked mass", {}, {{3, "percentuale massa frenata,    0"}}, {warning(T, 3, 31, "braked-mass")}},
        {"12 % braked mass", {}, {{3, "percentuale massa frenata,    12"}}, {warning(T, 3, 31, "braked-mass")}},
        {"60 coaches", {}, {{2, "numero vetture,    60"}}, {warning(T, 2, 20, "coaches")}},
        {"an adhesion of 0", {}, {{7, "aderenza,  0,  0"}}, {warning(T, 7, 16, "adhesion")}},
        {"a clock that starts after the first departure",
         {},
         {{5, kLateClock}},
         {warning(T, 5, 14, "clock")},
         "the train is late before it starts",
         12},
        {"a leg that leaves no time to run",
         {},
         {{13, kNoTime}},
         {warning(T, 13, column_of(kNoTime, "8,  1,  0"), "no-running-time")},
         "no later than it leaves 'VALBRUNA' at 8:01:00",
         12},
    });
}

// A length written in kilometres: every object beyond it is an error, and
// the length line, where the mistake is, says so.
TEST(Plausibility, ARouteLengthInKilometresIsPointedAt) {
    const std::string line = edited(kLineLines, {{2, "lunghezza percorso,  10"}});
    const std::string train = edited(kTrainLines, {});
    const Diagnostics all = check_descriptions(line, train);
    const auto length =
        std::find_if(all.begin(), all.end(), [](const Diagnostic& d) { return d.name == "route-length"; });
    ASSERT_NE(length, all.end()) << describe(all, line, train);
    EXPECT_EQ(length->where->line, 2);
    EXPECT_EQ(length->where->column, 22);
    EXPECT_NE(length->message.find("a route of 10 km is written 10000"), std::string::npos) << length->message;
}

TEST(Plausibility, RealRailwaysStaySilent) {
    expect_mistakes({
        {"a steep mountain line", {{15, "pendenza,  3000,  60"}, {16, "pendenza,  5000,  -70"}}, {}, {}},
        {"a 30 km/h branch line, its boards and a slowdown to 10 km/h",
         {{21, "indicatori_vmax,  600,  30,  30,  30,  0,    ,    ,    ,  0"}},
         {{9, "velocita,  0,  30"}, {10, "velocita,  6000,  30"}, {15, "rallentamento,  4000,  10,  600,  1,  1,  0"}},
         {}},
        {"a high-speed line at 300 km/h",
         {{21, "indicatori_vmax,  600,  250,  300,  300,  0,    ,    ,    ,  0"}},
         {{9, "velocita,  0,  300"}, {10, "velocita,  6000,  300"}},
         {}},
        {"a board that announces a lower limit ahead",
         {{21, "indicatori_vmax,  3100,  80,  80,  80,  0,    ,    ,    ,  0"}},
         {},
         {}},
        {"a stop of 20 s at a halt", {}, {{13, with_middle(station(5000, 27, 300, 20, "8,  5,  0", "PIANA"))}}, {}},
        {"an express that passes every intermediate station",
         {},
         {{13, station(3500, 12, 600, 0, "8,  4,  0", "PIANA") + "\n" +
                   station(6500, 12, 600, 0, "8,  6,  0", "COLLE") + "\n" + kTrainLines[12]}},
         {}},
        {"accented names", {}, {{13, rocca({}, "   CITT\xC0 DI SANT'ANT\xD2NIO")}}, {}},
        {"a round trip that ends where it began", {}, {{13, rocca({}, "   VALBRUNA")}}, {}},
        {"a slowdown of 3.5 km far along the line", {}, {{15, "rallentamento,  5000,  30,  3500,  1,  1,  0"}}, {}},
        {"a progressive that falls to a few hundred metres at the end",
         {{4, "progressiva chilometrica due,  1000,  10500,  1"}},
         {},
         {}},
        {"a spiral of 327 degrees", {{11, "curvad6,  3000,  1900"}}, {}, {}},
        {"a well-braked long train", {}, {{2, "numero vetture,    14"}, {3, "percentuale massa frenata,    160"}}, {}},
        {"a clock an hour before the departure", {}, {{5, "orologio,    7  1  0 "}}, {}},
        {"a clock before midnight for a departure after it",
         {},
         {{5, "orologio,    23  50  0 "},
          {12, "stazione,  0,  4,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  0,  10,  0,   VALBRUNA"},
          {13, rocca({{13, "0"}, {14, "20"}})}},
         {}},
    });
}

}  // namespace
}  // namespace scenariogen::testing
