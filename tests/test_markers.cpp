// The marker procedures: mountain stretches, speed-indicator boards,
// signals, slowdowns, and the order of the kilometric progressives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "compiler/conversions.h"
#include "compiler/markers.h"

namespace scenariogen {
namespace {

// A route of cells 0 to 1060, as for a 46000 m line, with some cells already taken.
CompilationState route(const std::map<std::size_t, std::uint8_t>& taken = {}) {
    CompilationState s;
    s.cells.assign(1061, Cell{});
    for (const auto& [i, tipo] : taken) s.cells[i].kind = tipo;
    return s;
}

// ---------------------------------------------------------------------------
// Mountain stretches.

TEST(Markers, MountainStretches) {
    struct Call {
        std::int32_t start, end, kind;
        std::int32_t tipo_after;  // the caller's variable after the call
    };
    struct Range {
        std::size_t first, last;
        std::uint8_t mountain_kind;
    };
    struct Case {
        const char* name;
        std::map<std::size_t, std::uint8_t> taken;
        std::vector<Call> calls;
        std::vector<Range> marked;         // every other cell keeps montagna 0
        std::vector<std::size_t> markers;  // the cells of tipo 11, and no others
    };
    const std::vector<Case> cases{
        {"a first stretch with markers", {}, {{1000, 2000, 12, 2}}, {{20, 39, 2}}, {23, 27, 31, 35, 39}},
        {"without markers", {}, {{1000, 2000, 2, 2}}, {{20, 39, 2}}, {}},
        {"a stretch 150 m after the last takes kind 3",
         {},
         {{1000, 2000, 2, 2}, {2150, 3000, 1, 3}},
         {{20, 39, 2}, {43, 59, 3}},
         {}},
        {"151 m after it keeps its own kind",
         {},
         {{1000, 2000, 2, 2}, {2151, 3000, 1, 1}},
         {{20, 39, 2}, {43, 59, 1}},
         {}},
        {"kind 3 keeps its markers",
         {},
         {{1000, 2000, 2, 2}, {2100, 3000, 11, 3}},
         {{20, 39, 2}, {42, 59, 3}},
         {45, 49, 53, 57}},
        {"a stretch before the last one also follows it",
         {},
         {{5000, 6000, 2, 2}, {1000, 2000, 1, 3}},
         {{20, 39, 3}, {100, 119, 2}},
         {}},
        {"1000 to 1020 marks no cell", {}, {{1000, 1020, 12, 2}}, {}, {}},
        {"1000 to 1049 marks cell 20", {}, {{1000, 1049, 2, 2}}, {{20, 20, 2}}, {}},
        {"ties round to even: 20.5 and 39.5", {}, {{1025, 2025, 1, 1}}, {{20, 40, 1}}, {}},
        {"a marker leaves a taken cell alone", {{23, 14}, {31, 6}}, {{1000, 2000, 12, 2}}, {{20, 39, 2}}, {27, 35, 39}},
        {"the kind is stored in 8 bits", {}, {{1000, 1100, 300, 290}}, {{20, 21, 34}}, {}},
    };
    for (const Case& c : cases) {
        CompilationState s = route(c.taken);
        for (const Call& call : c.calls) {
            std::int32_t start = call.start, end = call.end, kind = call.kind;
            mark_mountain_stretch(s, start, end, kind);
            EXPECT_EQ(kind, call.tipo_after) << c.name << ", stretch at " << call.start;
        }
        // Every stretch is counted and stored, from index 1.
        ASSERT_EQ(s.mountain_count, static_cast<std::int32_t>(c.calls.size())) << c.name;
        for (std::size_t n = 0; n < c.calls.size(); ++n) {
            EXPECT_EQ(s.mountain_starts[n + 1], c.calls[n].start) << c.name;
            EXPECT_EQ(s.mountain_ends[n + 1], c.calls[n].end) << c.name;
        }
        for (std::size_t i = 0; i < s.cells.size(); ++i) {
            std::uint8_t mountain_kind = 0;
            for (const Range& r : c.marked) {
                if (i >= r.first && i <= r.last) mountain_kind = r.mountain_kind;
            }
            EXPECT_EQ(s.cells[i].mountain_kind, mountain_kind) << c.name << ", cell " << i;
            const bool marker = std::find(c.markers.begin(), c.markers.end(), i) != c.markers.end();
            const auto taken = c.taken.find(i);
            const std::uint8_t kind = marker ? 11 : taken != c.taken.end() ? taken->second : 0;
            EXPECT_EQ(s.cells[i].kind, kind) << c.name << ", cell " << i;
        }
        EXPECT_EQ(s.last_error, 0) << c.name;
    }
}

// ---------------------------------------------------------------------------
// Speed-indicator boards.

TEST(Markers, SpeedBoards) {
    struct Case {
        const char* name;
        std::int32_t position;
        std::int32_t vas, vbs, vcs, strisces, vad, vbd, vcd, strisced;
        std::map<std::size_t, std::uint8_t> taken;
        std::size_t cell;
        std::int32_t number;
        std::uint8_t kind;
        std::int16_t v1, v2, v3, v4;
    };
    const std::vector<Case> cases{
        {"the first board of the line", 700, 130, 140, 140, 0, 0, 0, 0, 0, {}, 15, 0, 6, 2600, 2800, 2800, 0},
        {"two stripes", 21800, 100, 105, 105, 2, 0, 0, 0, 0, {}, 437, 0, 6, 2000, 2100, 2100, 20},
        {"0 left and 100 right", 700, 0, 0, 0, 0, 100, 100, 100, 0, {}, 15, 0, 6, 20, 20, 20, 0},
        {"1 left and 0 right give the same", 700, 1, 1, 1, 0, 0, 0, 0, 0, {}, 15, 0, 6, 20, 20, 20, 0},
        {"a right-hand fifth rounds to the nearest", 700, 1, 1, 1, 0, 13, 12, 0, 0, {}, 15, 0, 6, 23, 22, 20, 0},
        {"stripes on both sides", 700, 0, 0, 0, 1, 0, 0, 0, 2, {}, 15, 0, 6, 0, 0, 0, 12},
        {"stripes keep 16 bits", 700, 0, 0, 0, 6554, 0, 0, 0, 0, {}, 15, 0, 6, 0, 0, 0, 4},
        {"the largest speed code", 700, 1638, 0, 0, 0, 35, 0, 0, 0, {}, 15, 0, 6, 32767, 0, 0, 0},
        {"15.5 rounds to cell 16", 725, 10, 10, 10, 0, 0, 0, 0, 0, {}, 16, 0, 6, 200, 200, 200, 0},
        {"16.5 rounds to cell 16", 775, 10, 10, 10, 0, 0, 0, 0, 0, {}, 16, 0, 6, 200, 200, 200, 0},
        {"a mountain marker is replaced", 700, 10, 10, 10, 0, 0, 0, 0, 0, {{15, 11}}, 15, 0, 6, 200, 200, 200, 0},
        {"a sign's cell is error 21", 700, 10, 10, 10, 1, 0, 0, 0, 0, {{15, 14}}, 15, 21, 14, 0, 0, 0, 0},
        {"a signal's cell is error 21", 700, 10, 10, 10, 1, 0, 0, 0, 0, {{15, 1}}, 15, 21, 1, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        CompilationState s = route(c.taken);
        const SpeedBoard board{c.vas, c.vbs, c.vcs, c.strisces, c.vad, c.vbd, c.vcd, c.strisced};
        EXPECT_EQ(place_speed_board(s, c.position, board), c.number) << c.name;
        const Cell& cell = s.cells[c.cell];
        EXPECT_EQ(cell.kind, c.kind) << c.name;
        EXPECT_EQ(cell.value_1, c.v1) << c.name;
        EXPECT_EQ(cell.value_2, c.v2) << c.name;
        EXPECT_EQ(cell.value_3, c.v3) << c.name;
        EXPECT_EQ(cell.value_4, c.v4) << c.name;
    }
}

TEST(Markers, ASpeedBoardRefusesASpeedCodeBeyond16Bits) {
    CompilationState s = route();
    SpeedBoard board;
    board.vas = 1638;  // 32760 + 40 / 5 = 32768
    board.vad = 40;
    EXPECT_THROW(static_cast<void>(place_speed_board(s, 700, board)), ReadingFailure);
    EXPECT_EQ(s.cells[15].kind, 0) << "the cell stays as it was";
    board = SpeedBoard{};
    board.vas = -1639;  // -32780
    EXPECT_THROW(static_cast<void>(place_speed_board(s, 700, board)), ReadingFailure);
}

// ---------------------------------------------------------------------------
// Signals.

TEST(Markers, Signals) {
    struct Case {
        const char* name;
        std::int32_t position;
        std::int32_t sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo;
        std::map<std::size_t, std::uint8_t> taken;
        std::int32_t number;
        std::size_t cell;
        std::int16_t v1, v2, v3, v4;
        std::uint8_t signal_time;
        std::int32_t tempo_after;
        std::map<std::size_t, std::uint8_t> approach_marker;  // every other cell keeps 0
    };
    const std::vector<Case> cases{
        {"segnale 3200, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0",
         3200,
         1,
         4,
         1,
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         {},
         0,
         65,
         40,
         10,
         0,
         3,
         0,
         0,
         {{63, 31}, {61, 32}, {59, 33}, {57, 34}}},
        {"segnale 31500, 2, 2, 3, 0, 1, 0, 0, 0, 0, 0",
         31500,
         2,
         2,
         3,
         0,
         1,
         0,
         0,
         0,
         0,
         0,
         {},
         0,
         631,
         20,
         30,
         0,
         16,
         0,
         0,
         {{629, 61}, {627, 62}, {625, 63}, {623, 64}}},
        {"right-hand aspects",
         3200,
         1,
         4,
         1,
         0,
         0,
         2,
         5,
         6,
         7,
         0,
         {},
         0,
         65,
         45,
         16,
         7,
         5,
         0,
         0,
         {{63, 51}, {61, 52}, {59, 53}, {57, 54}}},
        {"sx 2, tempo 40: 101 in the cell and in the caller",
         3200,
         2,
         4,
         1,
         0,
         0,
         0,
         0,
         0,
         0,
         40,
         {},
         0,
         65,
         40,
         10,
         0,
         6,
         101,
         101,
         {{63, 61}, {61, 62}, {59, 63}, {57, 64}}},
        {"sx 1, tempo 40: the cell gets 0, the caller 101",
         3200,
         1,
         4,
         1,
         0,
         0,
         0,
         0,
         0,
         0,
         40,
         {},
         0,
         65,
         40,
         10,
         0,
         3,
         0,
         101,
         {{63, 31}, {61, 32}, {59, 33}, {57, 34}}},
        {"tempo 1 becomes 101",
         3200,
         2,
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         1,
         {},
         0,
         65,
         0,
         0,
         0,
         6,
         101,
         101,
         {{63, 61}, {61, 62}, {59, 63}, {57, 64}}},
        {"tempo 100 becomes 101",
         3200,
         2,
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         100,
         {},
         0,
         65,
         0,
         0,
         0,
         6,
         101,
         101,
         {{63, 61}, {61, 62}, {59, 63}, {57, 64}}},
        {"tempo 150 stays",
         3200,
         2,
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         150,
         {},
         0,
         65,
         0,
         0,
         0,
         6,
         150,
         150,
         {{63, 61}, {61, 62}, {59, 63}, {57, 64}}},
        {"a negative tempo stays, in 8 bits in the cell",
         3200,
         2,
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         -5,
         {},
         0,
         65,
         0,
         0,
         0,
         6,
         251,
         -5,
         {{63, 61}, {61, 62}, {59, 63}, {57, 64}}},
        {"66.5 rounds to cell 66",
         3275,
         1,
         4,
         1,
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         {},
         0,
         66,
         40,
         10,
         0,
         3,
         0,
         0,
         {{64, 31}, {62, 32}, {60, 33}, {58, 34}}},
        {"a mountain marker is replaced",
         3200,
         1,
         4,
         1,
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         {{65, 11}},
         0,
         65,
         40,
         10,
         0,
         3,
         0,
         0,
         {{63, 31}, {61, 32}, {59, 33}, {57, 34}}},
        {"advance cells are not tested",
         3200,
         1,
         4,
         1,
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         {{63, 14}, {57, 6}},
         0,
         65,
         40,
         10,
         0,
         3,
         0,
         0,
         {{63, 31}, {61, 32}, {59, 33}, {57, 34}}},
        {"an occupied cell is error 16 and nothing changes",
         3200,
         2,
         4,
         1,
         0,
         0,
         0,
         0,
         0,
         0,
         40,
         {{65, 6}},
         16,
         65,
         0,
         0,
         0,
         0,
         0,
         40,
         {}},
    };
    for (const Case& c : cases) {
        CompilationState s = route(c.taken);
        SignalValues values{c.sx, c.s1, c.s2, c.s3, c.rapp, c.dx, c.d1, c.d2, c.d3, c.tempo};
        EXPECT_EQ(place_signal(s, c.position, values), c.number) << c.name;
        EXPECT_EQ(values.tempo, c.tempo_after) << c.name;
        const Cell& cell = s.cells[c.cell];
        EXPECT_EQ(cell.kind, c.number == 0 ? 1 : c.taken.at(c.cell)) << c.name;
        EXPECT_EQ(cell.value_1, c.v1) << c.name;
        EXPECT_EQ(cell.value_2, c.v2) << c.name;
        EXPECT_EQ(cell.value_3, c.v3) << c.name;
        EXPECT_EQ(cell.value_4, c.v4) << c.name;
        EXPECT_EQ(cell.signal_time, c.signal_time) << c.name;
        for (std::size_t i = 0; i < s.cells.size(); ++i) {
            const auto p = c.approach_marker.find(i);
            EXPECT_EQ(s.cells[i].approach_marker, p == c.approach_marker.end() ? 0 : p->second)
                << c.name << ", cell " << i;
            if (i == c.cell) continue;
            const auto taken = c.taken.find(i);
            EXPECT_EQ(s.cells[i].kind, taken == c.taken.end() ? 0 : taken->second) << c.name << ", cell " << i;
        }
    }
}

// ---------------------------------------------------------------------------
// Slowdowns.

TEST(Markers, Slowdowns) {
    struct Written {
        std::size_t cell;
        std::uint8_t kind;
        std::int16_t v1, v2, v3;
    };
    struct Case {
        const char* name;
        std::int32_t position, v, l, f_tt, f_ta, d_v;
        std::map<std::size_t, std::uint8_t> taken;
        std::int32_t number;
        std::vector<Written> written;  // every other cell keeps what it had
    };
    const std::vector<Case> cases{
        {"at 1500 no warning, even with f_ta", 1500, 60, 500, 2, 1, 0, {}, 0, {{31, 3, 60, 0, 2}, {41, 2, 60, 0, 2}}},
        {"at 1550 a warning, and four cells before it",
         1550,
         60,
         500,
         2,
         1,
         0,
         {},
         0,
         {{32, 3, 60, 0, 2},
          {42, 2, 60, 0, 2},
          {8, 4, 60, 0, 0},
          {7, 5, 1, 0, 0},
          {6, 5, 2, 0, 0},
          {5, 5, 3, 0, 0},
          {4, 5, 4, 0, 0}}},
        {"without f_ta no cells before the warning",
         1550,
         60,
         500,
         2,
         0,
         0,
         {},
         0,
         {{32, 3, 60, 0, 2}, {42, 2, 60, 0, 2}, {8, 4, 60, 0, 0}}},
        {"d_v goes to valore_2",
         1550,
         60,
         500,
         2,
         1,
         7,
         {},
         0,
         {{32, 3, 60, 7, 2},
          {42, 2, 60, 7, 2},
          {8, 4, 60, 7, 0},
          {7, 5, 1, 1, 0},
          {6, 5, 2, 2, 0},
          {5, 5, 3, 3, 0},
          {4, 5, 4, 4, 0}}},
        {"length 0 leaves the start", 3000, 60, 0, 2, 0, 0, {}, 0, {{61, 3, 60, 0, 2}, {37, 4, 60, 0, 0}}},
        {"mountain markers are free",
         1550,
         60,
         500,
         2,
         0,
         0,
         {{8, 11}, {32, 11}, {42, 11}},
         0,
         {{32, 3, 60, 0, 2}, {42, 2, 60, 0, 2}, {8, 4, 60, 0, 0}}},
        {"the warning cell taken is error 17", 1550, 60, 500, 2, 1, 0, {{8, 14}}, 17, {}},
        {"at 1500 the warning cell is not tested",
         1500,
         60,
         500,
         2,
         1,
         0,
         {{7, 14}, {6, 14}},
         0,
         {{31, 3, 60, 0, 2}, {41, 2, 60, 0, 2}}},
        {"the start cell taken is error 18", 1550, 60, 500, 2, 1, 0, {{32, 1}}, 18, {}},
        {"the end cell taken is error 19", 1550, 60, 500, 2, 1, 0, {{42, 6}}, 19, {}},
        {"the warning is tested before the start", 1550, 60, 500, 2, 1, 0, {{8, 14}, {32, 1}, {42, 6}}, 17, {}},
        {"the start is tested before the end", 1550, 60, 500, 2, 1, 0, {{32, 1}, {42, 6}}, 18, {}},
        {"a cell before the warning taken is error 20",
         1550,
         60,
         500,
         2,
         1,
         0,
         {{5, 14}},
         20,
         {{32, 3, 60, 0, 2}, {42, 2, 60, 0, 2}, {8, 4, 60, 0, 0}}},
        {"at 1575 the cells before the warning start on it",
         1575,
         60,
         500,
         2,
         1,
         0,
         {},
         20,
         {{32, 3, 60, 0, 2}, {42, 2, 60, 0, 2}, {8, 4, 60, 0, 0}}},
    };
    for (const Case& c : cases) {
        CompilationState s = route(c.taken);
        EXPECT_EQ(place_slowdown(s, c.position, SlowdownValues{c.v, c.l, c.f_tt, c.f_ta, c.d_v}), c.number) << c.name;
        for (std::size_t i = 0; i < s.cells.size(); ++i) {
            const Cell& cell = s.cells[i];
            Written expected{i, 0, 0, 0, 0};
            if (const auto taken = c.taken.find(i); taken != c.taken.end()) expected.kind = taken->second;
            for (const Written& w : c.written) {
                if (w.cell == i) expected = w;
            }
            EXPECT_EQ(cell.kind, expected.kind) << c.name << ", cell " << i;
            EXPECT_EQ(cell.value_1, expected.v1) << c.name << ", cell " << i;
            EXPECT_EQ(cell.value_2, expected.v2) << c.name << ", cell " << i;
            EXPECT_EQ(cell.value_3, expected.v3) << c.name << ", cell " << i;
        }
    }
}

// ---------------------------------------------------------------------------
// The kilometric progressives.

TEST(Markers, KilometricProgressivesInOrder) {
    struct Triple {
        std::int32_t start, end, position;
        bool operator==(const Triple&) const = default;
    };
    struct Case {
        const char* name;
        Triple tre, due, uno;  // entries 81, 82, 83 as read
        Triple r81, r82, r83;  // after the ordering
    };
    const Triple zero{0, 0, 0};
    const Triple t{3000, 100, 0}, d{2000, 200, 0}, u{1000, 300, 0};
    const std::vector<Case> cases{
        {"the line's own progressives", zero, {12700, 49600, 1}, zero, {12700, 49700, 1}, zero, zero},
        {"tre, due, uno by start", t, d, u, t, d, u},
        {"tre, uno, due", t, u, d, t, d, u},
        {"due, tre, uno", d, t, u, t, d, u},
        {"due, uno, tre", u, t, d, t, d, u},
        {"uno, tre, due", d, u, t, t, d, u},
        {"uno, due, tre", u, d, t, t, d, u},
        {"the two smaller starts equal: the later record first",
         t,
         {1000, 200, 0},
         {1000, 300, 0},
         t,
         {1000, 300, 0},
         {1000, 200, 0}},
        {"5000, 5000, 0: no start is strictly largest, all cleared",
         {5000, 1, 0},
         {5000, 2, 1},
         {0, 3, 0},
         zero,
         zero,
         zero},
        {"0, 5000, 5000: all cleared", {0, 1, 0}, {5000, 2, 0}, {5000, 3, 1}, zero, zero, zero},
        {"100 m is added after the move", {5000, 100, 0}, {0, 200, 1}, zero, {5000, 100, 0}, zero, {0, 300, 1}},
        {"all starts 0, only uno with a reference: uno and tre change places",
         {0, -5, 0},
         {0, -7, 0},
         {0, 300, 0},
         {0, 300, 0},
         {0, -7, 0},
         {0, -5, 0}},
        {"all starts 0, only tre with a reference: unchanged",
         {0, 300, 0},
         {0, -7, 0},
         {0, 0, 0},
         {0, 300, 0},
         {0, -7, 0},
         zero},
        {"all starts 0, tre and due with references: due first",
         {0, 300, 0},
         {0, 200, 0},
         zero,
         {0, 200, 0},
         {0, 300, 0},
         zero},
        {"all starts 0, all three with references: uno first",
         {0, 300, 0},
         {0, 200, 1},
         {0, 100, 0},
         {0, 100, 0},
         {0, 300, 1},
         {0, 300, 0}},
        {"all starts 0, no reference: all cleared, nothing added", {0, 0, 1}, {0, -100, 1}, zero, zero, zero, zero},
        {"starts that sum to 0 are decided by reference",
         {1000, 0, 0},
         {-1000, 0, 0},
         {0, 50, 0},
         {0, 50, 0},
         {-1000, 0, 0},
         {1000, 0, 0}},
    };
    for (const Case& c : cases) {
        CompilationState s;
        const auto put = [&](int entry, const Triple& v) {
            StationEntry& voce = s.stations[static_cast<std::size_t>(entry)];
            voce.start = v.start;
            voce.end = v.end;
            voce.position = v.position;
        };
        const auto get = [&](int entry) {
            const StationEntry& voce = s.stations[static_cast<std::size_t>(entry)];
            return Triple{voce.start, voce.end, voce.position};
        };
        put(81, c.tre);
        put(82, c.due);
        put(83, c.uno);
        order_progressives(s);
        EXPECT_EQ(get(81), c.r81) << c.name;
        EXPECT_EQ(get(82), c.r82) << c.name;
        EXPECT_EQ(get(83), c.r83) << c.name;
    }
}

}  // namespace
}  // namespace scenariogen
