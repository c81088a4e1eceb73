// The placement rules that complete the cells after the reading (code-drop
// points of 180 before signals that precede a warning, before slowdown
// starts, along slow slowdowns and before the first signal after them), and
// the header-slot checks that end the run before anything is written.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "compiler/description_reading.h"
#include "compiler/post_processing.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using testing::crlf;

// One cell of a fixture: its type and first value.
struct Placed {
    std::int32_t cell;
    std::uint8_t kind;
    std::int16_t value_1 = 0;
};

Placed sig(std::int32_t i) { return {i, kSignal}; }
Placed warn(std::int32_t i) { return {i, kSlowdownWarning}; }
Placed start(std::int32_t i, std::int16_t v) { return {i, kSlowdownStart, v}; }
Placed end(std::int32_t i) { return {i, kSlowdownEnd}; }
Placed taken(std::int32_t i) { return {i, kSign, 1}; }  // any occupied cell that is not a point
Placed pt(std::int32_t i, std::int16_t v = 180) { return {i, kCodeDrop, v}; }
Placed mountain(std::int32_t i) { return {i, kMountainMarker}; }

// Cells 0 to `last`, each with a speed, gradient and adhesion so that a
// point that touched more than tipo and valore_1 would show.
CompilationState route_with(const std::vector<Placed>& cells, std::int32_t last = 100) {
    CompilationState s;
    s.cells.assign(static_cast<std::size_t>(last) + 1, Cell{});
    for (Cell& c : s.cells) {
        c.speed_limit = 20;
        c.gradient = 104;
        c.adhesion = 100;
    }
    for (const Placed& p : cells) {
        Cell& c = s.cells.at(static_cast<std::size_t>(p.cell));
        c.kind = p.kind;
        c.value_1 = p.value_1;
        if (p.kind == kMountainMarker) c.mountain_kind = 2;
    }
    return s;
}

template <typename Actual, typename Expected>
void expect_same_cells(const Actual& actual, const Expected& expected) {
    ASSERT_EQ(actual.cells.size(), expected.cells.size());
    for (std::size_t i = 0; i < actual.cells.size(); ++i) {
        const Cell& a = actual.cells[i];
        const Cell& e = expected.cells[i];
        EXPECT_EQ(a.kind, e.kind) << "cell " << i;
        EXPECT_EQ(a.value_1, e.value_1) << "cell " << i;
        const bool rest_same = a.reserved == e.reserved && a.value_2 == e.value_2 && a.value_3 == e.value_3 &&
                               a.value_4 == e.value_4 && a.signal_time == e.signal_time &&
                               a.approach_marker == e.approach_marker && a.mountain_kind == e.mountain_kind &&
                               a.speed_limit == e.speed_limit && a.gradient == e.gradient && a.adhesion == e.adhesion;
        EXPECT_TRUE(rest_same) << "cell " << i << ": a member other than tipo and valore_1 changed";
    }
}

struct RuleCase {
    const char* name;
    std::vector<Placed> before;
    std::vector<Placed> changed;  // the cells that differ afterwards
    std::int32_t number = 0;
    std::int32_t position = 0;
    std::int32_t last = 100;
};

void run_cases(const std::vector<RuleCase>& cases) {
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.name);
        CompilationState s = route_with(c.before, c.last);
        apply_placement_rules(s);
        std::vector<Placed> after = c.before;
        after.insert(after.end(), c.changed.begin(), c.changed.end());
        expect_same_cells(s, route_with(after, c.last));
        EXPECT_EQ(s.last_error, c.number);
        EXPECT_EQ(s.error_position, c.position);
    }
}

TEST(PostProcessing, RuleASignalsBeforeAWarning) {
    run_cases({
        {"point just before the signal", {warn(50), sig(45)}, {pt(44)}},
        {"two back when one back is taken", {warn(50), sig(45), taken(44)}, {pt(43)}},
        {"a free cell two back comes before lowering", {warn(50), sig(45), pt(44, 200)}, {pt(43)}},
        {"an existing 200 one back is lowered to 180", {warn(50), sig(45), pt(44, 200), taken(43)}, {pt(44, 180)}},
        {"an existing 150 one back stays", {warn(50), sig(45), pt(44, 150), taken(43)}, {}},
        {"an existing 200 two back is lowered", {warn(50), sig(45), taken(44), pt(43, 200)}, {pt(43, 180)}},
        {"a mountain marker counts as free", {warn(50), sig(45), mountain(44)}, {pt(44)}},
        {"no cell: error 11 at the signal", {warn(50), sig(45), taken(44), taken(43)}, {}, 11, 2250},
        {"the scan goes on after error 11", {warn(50), sig(45), taken(44), taken(43), sig(40)}, {pt(39)}, 11, 2250},
        {"a signal 20 cells back is treated", {warn(50), sig(30)}, {pt(29)}},
        {"a signal 21 cells back is not", {warn(50), sig(29)}, {}},
        {"down to cell 3, whose point may land on cell 1", {warn(10), sig(3), taken(2)}, {pt(1)}},
        {"a signal in cell 2 is not treated", {warn(10), sig(2)}, {}},
    });
}

TEST(PostProcessing, RuleBThreeWindowsBeforeAStart) {
    // Speed 120: no points along the slowdown.
    run_cases({
        {"one point per window", {start(30, 120), end(32)}, {pt(25), pt(19), pt(12)}},
        {"each window takes its first free cell",
         {start(30, 120), end(32), taken(25), taken(24), taken(19)},
         {pt(23), pt(18), pt(12)}},
        {"a full window is error 12 and the next is still handled",
         {start(30, 120), end(32), taken(25), taken(24), taken(23)},
         {pt(19), pt(12)},
         12,
         1500},
        {"an existing point counts as taken, without lowering",
         {start(30, 120), end(32), pt(25, 200)},
         {pt(24), pt(19), pt(12)}},
        {"start at 7: no window", {start(7, 120), end(9)}, {}},
        {"start at 8: window 1 only", {start(8, 120), end(10)}, {pt(3)}},
        {"start at 13: window 1 only", {start(13, 120), end(15)}, {pt(8)}},
        {"start at 14: windows 1 and 2", {start(14, 120), end(16)}, {pt(9), pt(3)}},
        {"start at 20: windows 1 and 2", {start(20, 120), end(22)}, {pt(15), pt(9)}},
        {"start at 21: all three", {start(21, 120), end(23)}, {pt(16), pt(10), pt(3)}},
        {"points of an earlier start are taken for a later one",
         {start(30, 120), end(32), start(36, 120), end(38)},
         {pt(25), pt(19), pt(12), pt(31), pt(24), pt(18)}},
    });
}

TEST(PostProcessing, RuleCPointsAlongASlowSlowdown) {
    // Start at 20: rule B puts its points on 15 and 9.
    run_cases({
        {"every 8 cells from the start", {start(20, 50), end(40)}, {pt(15), pt(9), pt(28), pt(36)}},
        {"a taken cell moves the point back, and the count with it",
         {start(20, 50), end(40), taken(28)},
         {pt(15), pt(9), pt(27), pt(35)}},
        {"both taken: the point moves forward",
         {start(20, 50), end(40), taken(28), taken(27)},
         {pt(15), pt(9), pt(29), pt(37)}},
        {"all three taken: error 13 at the 8th cell, no further point",
         {start(20, 50), end(60), taken(27), taken(28), taken(29)},
         {pt(15), pt(9)},
         13,
         1400},
        {"a mountain marker counts as free", {start(20, 50), end(40), mountain(28)}, {pt(15), pt(9), pt(28), pt(36)}},
        {"the end cell itself sends its point back", {start(20, 50), end(28)}, {pt(15), pt(9), pt(27)}},
        {"109 km/h qualifies", {start(20, 109), end(40)}, {pt(15), pt(9), pt(28), pt(36)}},
        {"110 km/h does not", {start(20, 110), end(40)}, {pt(15), pt(9)}},
        {"no cell after the last one: error 13 on the end cell",
         {start(92, 50), end(100), taken(99)},
         {pt(87), pt(81), pt(74)},
         13,
         5000},
    });
}

TEST(PostProcessing, RuleDBeforeTheFirstSignalAfterTheEnd) {
    // Start at 20 at 120 km/h, end at 25: rule B gives 15 and 9.
    run_cases({
        {"point before the signal", {start(20, 120), end(25), sig(30)}, {pt(15), pt(9), pt(29)}},
        {"only the first signal", {start(20, 120), end(25), sig(30), sig(33)}, {pt(15), pt(9), pt(29)}},
        {"a signal 12 cells after the end", {start(20, 120), end(25), sig(37)}, {pt(15), pt(9), pt(36)}},
        {"a signal 13 cells after the end is too far", {start(20, 120), end(25), sig(38)}, {pt(15), pt(9)}},
        {"two back when one back is taken", {start(20, 120), end(25), sig(30), taken(29)}, {pt(15), pt(9), pt(28)}},
        {"no cell: error 13 at the end cell",
         {start(20, 120), end(25), sig(30), taken(29), taken(28)},
         {pt(15), pt(9)},
         13,
         1250},
        {"after the points along a slow slowdown",
         {start(20, 50), end(40), sig(42)},
         {pt(15), pt(9), pt(28), pt(36), pt(41)}},
        // The end of a fast slowdown is found by scanning from its own start,
        // not taken over from an earlier slowdown.
        {"a fast slowdown after a slow one uses its own end",
         {start(20, 50), end(30), start(50, 120), end(55), sig(58)},
         {pt(15), pt(9), pt(28), pt(45), pt(39), pt(32), pt(57)}},
        {"the search stops at the last cell", {start(90, 120), end(95), sig(100)}, {pt(85), pt(79), pt(72), pt(99)}},
    });
}

TEST(PostProcessing, SlowdownWithoutEndAndLastFault) {
    run_cases({
        // No end cell: error 13 at the start, rule B only.
        {"no end cell", {start(50, 50), sig(55)}, {pt(45), pt(39), pt(32)}, 13, 2500},
        // Error 11 at cell 45, then error 12 at the later start: the later remains.
        {"the last fault remains",
         {warn(50), sig(45), taken(44), taken(43), start(74, 120), end(76), taken(69), taken(68), taken(67)},
         {pt(63), pt(56)},
         12,
         3700},
        {"no slowdown: nothing changes",
         {sig(30), taken(40), pt(50, 200), {60, kStationEnd, 1}, {70, kCodeDropWithoutValue}, {80, kBeforeWarning, 1}},
         {}},
    });
}

// --- Through the reading -------------------------------------------------------

std::string short_line() { return crlf({"[generale]", "lunghezza percorso,  3000", "[linea]", "[fine]"}); }
std::string train(const std::vector<std::string>& body) {
    std::vector<std::string> lines{"[generale]"};
    lines.insert(lines.end(), body.begin(), body.end());
    lines.push_back("[fine]");
    return crlf(lines);
}

TEST(PostProcessing, SlowdownsOfLengthZero) {
    struct Case {
        const char* line;
        std::int32_t start;
        std::vector<std::int32_t> points;
    };
    // Start and end share one cell, which keeps type 3: no end cell follows.
    for (const Case& c : std::vector<Case>{{"rallentamento,  1500,  60,  0,  0,  1,  0", 31, {26, 20, 13}},
                                           {"rallentamento,  1550,  60,  0,  0,  1,  0", 32, {27, 21, 14}}}) {
        SCOPED_TRACE(c.line);
        const testing::Compiled compiled = testing::compile_texts(short_line(), train({c.line}), 0);
        const CompileResult& s = compiled.s;
        EXPECT_EQ(s.last_error, 13);
        EXPECT_EQ(s.error_position, c.start * 50);
        EXPECT_EQ(s.cells.at(static_cast<std::size_t>(c.start)).kind, kSlowdownStart);
        std::vector<std::int32_t> points;
        for (std::size_t i = 0; i < s.cells.size(); ++i) {
            if (s.cells[i].kind == kCodeDrop) {
                EXPECT_EQ(s.cells[i].value_1, 180) << "cell " << i;
                points.push_back(static_cast<std::int32_t>(i));
            }
        }
        std::sort(points.begin(), points.end(), std::greater<>());
        EXPECT_EQ(points, c.points);
    }
}

TEST(PostProcessing, OwnRouteHasNoSlowdownsAndKeepsItsCells) {
    const testing::Compiled compiled = testing::compile_texts(testing::own_line_text(), testing::own_train_text(), 0);
    const std::string line = testing::own_line_text();
    const std::string train = testing::own_train_text();
    CompilationState read_only;
    read_only.build_grid = false;
    const ReadingExtent extent = read_descriptions(read_only, DescriptionTexts{line, train});
    ASSERT_TRUE(extent.train_read);
    ASSERT_EQ(read_only.last_error, 0);
    // Only the header values of cell 1 differ.
    read_only.cells.at(1).value_1 = compiled.s.cells.at(1).value_1;
    read_only.cells.at(1).value_2 = compiled.s.cells.at(1).value_2;
    expect_same_cells(compiled.s, read_only);
    EXPECT_EQ(compiled.s.last_error, 0);
}

// --- Header slots already taken --------------------------------------------------

TEST(PostProcessing, TakenHeaderSlotsEndTheRunBeforeAnyWriting) {
    struct Case {
        const char* name;
        std::vector<std::string> body;
        const char* prompt;  // empty: the compilation goes through
    };
    const std::vector<Case> cases{
        // Code drops on cells 3 and 2 make window 1 of the start in cell 8
        // place its point on cell 1.
        {"a rule B point on cell 1",
         {"abbattimento,  150,  0", "abbattimento,  100,  0", "rallentamento,  350,  120,  100,  0,  0,  0"},
         " Errore n. 1250"},
        {"a code drop with a value on cell 1", {"abbattimento,  50,  7"}, " Errore n. 1250"},
        {"a code drop without a value on cell 1", {"abbattimento,  50,  0"}, ""},
        // A slowdown at 0 m at speed 0 with d_v 5: cell 1 gets valore_2 5 only.
        {"a second value on cell 1", {"rallentamento,  0,  0,  100,  0,  0,  5"}, " Errore n. 1251"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const testing::Compiled compiled = testing::compile_texts(short_line(), train(c.body));
        const CompileResult& s = compiled.s;
        if (std::string(c.prompt).empty()) {
            EXPECT_EQ(s.outcome, CompileOutcome::kCompiled);
            EXPECT_EQ(s.cells.at(1).kind, kCodeDropWithoutValue);
            EXPECT_EQ(s.cells.at(1).value_1, 5121);
            continue;
        }
        EXPECT_EQ(s.outcome, CompileOutcome::kHeaderSlotsTaken);
        ASSERT_FALSE(s.faults.empty());
        EXPECT_EQ(" Errore n. " + std::to_string(s.faults.back().number), c.prompt);
        EXPECT_EQ(s.stations[kScenarioEntry].time, 0);  // no identity code stored

        // The command writes nothing then, and keeps the earlier files.
        testing::TempDir dir;
        testing::spit(dir.file("l.txt"), short_line());
        testing::spit(dir.file("t.txt"), train(c.body));
        testing::spit(dir.file("Scena_1.dat"), "earlier cell file");
        const testing::Outcome run = testing::run_program("compile " + dir.file("l.txt") + " " + dir.file("t.txt") +
                                                          " -o " + dir.path().string() + " --name Scena --train 1");
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(c.prompt), std::string::npos) << run.err;
        EXPECT_EQ(testing::listing(dir.path()), (std::vector<std::string>{"Scena_1.dat", "l.txt", "t.txt"}));
        EXPECT_EQ(testing::slurp(dir.file("Scena_1.dat")), "earlier cell file");
    }
}

}  // namespace
}  // namespace scenariogen
