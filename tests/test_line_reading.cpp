// Reading the line description back: the general section, the line section
// with its gradients, curves, mountains, boards and signs, the plan grid, and
// the faults of this phase with the files they leave behind.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "compiler/description_reading.h"
#include "format/binary_reader.h"
#include "format/binary_writer.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using testing::crlf;
using testing::empty_train;
using testing::TempDir;

// One reading of a line description (and a train description after it),
// and which of the run's description files the reading leaves on disk: the
// line description goes once read; the train description goes when its
// reading began or a reading failure ended both. Without a line description
// (error 101) nothing is read.
struct Reading {
    CompilationState s;
    bool train_file_left = false;
};

Reading read_line(const std::optional<std::string>& line_text, const std::string& train_text = empty_train(),
                  bool build_grid = true) {
    Reading r;
    r.s.scenario_name = "Zervano-OdelmaVmod";
    r.s.train_number = "27340";
    r.s.build_grid = build_grid;
    if (!line_text) {
        r.s.last_error = 101;
        r.train_file_left = true;
        return r;
    }
    const ReadingExtent extent = read_descriptions(r.s, DescriptionTexts{*line_text, train_text});
    r.train_file_left = !consumes_train_description(extent.train_read, extent.reading_failed);
    return r;
}

// A line description: the general section with the given length line, then
// the body lines, then "[fine]".
std::string line_file(const std::vector<std::string>& body,
                      const std::string& length_line = "lunghezza percorso,  46000") {
    std::vector<std::string> lines{"[generale]", length_line, "[curve]"};
    lines.insert(lines.end(), body.begin(), body.end());
    lines.push_back("[fine]");
    return crlf(lines);
}

// A short line: length 1000 m gives G = 8000 and P = 160 (cells 0 to 160).
std::string short_line(const std::vector<std::string>& body) { return line_file(body, "lunghezza percorso,  1000"); }

// The step that led to metre m of the grid.
struct Step {
    double dx, dy;
};
Step step_to(const Grid& g, std::size_t m) { return {g.x[m] - g.x[m - 1], g.y[m] - g.y[m - 1]}; }
double heading(const Step& d) { return std::atan2(d.dx, d.dy); }  // 0 along +y, positive towards +x

// ---------------------------------------------------------------------------
// The line as the run writes it.

class LineReadingOwnFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() { reading_ = new Reading(read_line(testing::own_line_text())); }
    static void TearDownTestSuite() {
        delete reading_;
        reading_ = nullptr;
    }
    static const CompilationState& s() { return reading_->s; }
    static Reading* reading_;
};
Reading* LineReadingOwnFile::reading_ = nullptr;

TEST_F(LineReadingOwnFile, ReadsWithoutFaultAndDeletesBothFiles) {
    EXPECT_EQ(s().last_error, 0);
    EXPECT_TRUE(s().faults.empty());
    EXPECT_FALSE(reading_->train_file_left);
}

TEST_F(LineReadingOwnFile, SizesTheCellsAndTheGrid) {
    // (46000 + 7000) / 50 = 1060: cells 0 to 1060; the grid holds metres 0 to 53000.
    EXPECT_EQ(s().cells.size(), 1061u);
    EXPECT_EQ(s().grid.last_metre, 53000);
}

TEST_F(LineReadingOwnFile, HeaderEntries) {
    const auto& t = s().stations;
    EXPECT_EQ(t[84].end, 46000);
    EXPECT_EQ(t[85].start, 1);  // sfondo uno
    EXPECT_EQ(t[85].position, 0);
    EXPECT_EQ(t[85].end, 0);
    EXPECT_EQ(t[85].name, "Zervano-OdelmaVmod");
    EXPECT_EQ(t[86].start, 0);
    EXPECT_EQ(t[86].end, 0);
    EXPECT_EQ(t[86].position, 0);  // a second value of 0: no cab signalling
    EXPECT_EQ(t[86].name, "27340");
    // Progressive due (12700, 49600, falling) comes first, with 100 m added to its reference.
    EXPECT_EQ(t[81].start, 12700);
    EXPECT_EQ(t[81].end, 49700);
    EXPECT_EQ(t[81].position, 1);
    for (const std::size_t entry : {82u, 83u}) {
        EXPECT_EQ(t[entry].start, 0) << entry;
        EXPECT_EQ(t[entry].end, 0) << entry;
        EXPECT_EQ(t[entry].position, 0) << entry;
    }
}

TEST_F(LineReadingOwnFile, SignTextsFromEntry80Down) {
    struct Sign {
        std::int32_t position;
        const char* text;
    };
    const std::vector<Sign> signs{
        {550, "(Diramazione per)(    GORVENTA)"},
        {650, "(   P.L.  )(km 0+662)"},
        {750, "(Diramazione per)(     TESSIO)"},
        {1150, "(   P.L.  )(km 1+150)"},
        {2000, "(    Limite    )(Compartimento)"},
        {2150, "(  P.L.A. )(km 2+185)"},
        {2900, "(   P.L.  )(km 2+935)"},
        {4900, "(   P.L.  )(km 4+919)"},
        {6700, "(   P.L.  )(km 6+742)"},
        {8800, "(   P.L.  )(km 8+840)"},
        {11950, "(   P.L.  )(km 11+958)"},
        {12450, "(   P.L.  )(km 12+480)"},
        {13100, "(   P.L.  )(km 36+456)"},
        {13800, "(   P.L.  )(km 35+768)"},
        {16050, "(Fiume )(SERPIO)"},
        {20800, "(  P.L.A. )(km 28+799)"},
        {22350, "(   P.L.  )(km 27+208)"},
        {22750, "(   P.L.  )(km 26+803)"},
        {23400, "(   P.L.  )(km 26+187)"},
        {23600, "(   P.L.  )(km 25+980)"},
        {24700, "(ROGGIONE)( GRANDE)"},
        {25200, "(   P.L.  )(km 24+471)"},
        {26650, "(   P.L.  )(km 22+921)"},
        {28500, "(   P.L.  )(km 21+093)"},
        {29800, "(   P.L.  )(km 19+772)"},
        {30850, "(   P.L.  )(km 18+745)"},
        {31850, "(   P.L.  )(km 17+745)"},
        {32550, "(   P.L.  )(km 17+048)"},
        {32850, "(   P.L.  )(km 16+709)"},
        {33150, "( Ex raccordo  )(stabilimento)( industriale)"},
        {34450, "( Avviso fermata )(    Calvisso)(      / /)"},
        {34650, "( Avviso fermata )(    Calvisso)(       /)"},
        {35450, "( Ex raccordo  )(stabilimento)( industriale)"},
        {37000, "( Casello)(12 + 600)"},
        {40000, "(   P.L.  )(km 9+540)"},
        {42000, "(Diramazione per)(    CINTURA)"},
        {43050, "(   P.L.  )(km 6+532)"},
    };
    ASSERT_EQ(signs.size(), 37u);
    const auto& t = s().stations;
    for (std::size_t n = 0; n < signs.size(); ++n) {
        const int entry = 80 - static_cast<int>(n);
        EXPECT_EQ(t[static_cast<std::size_t>(entry)].name, signs[n].text) << "entry " << entry;
        // Every position of the file is a multiple of 50, so the cell is p / 50 + 1.
        const Cell& c = s().cells[static_cast<std::size_t>(signs[n].position / 50 + 1)];
        EXPECT_EQ(c.kind, 14) << "sign at " << signs[n].position;
        EXPECT_EQ(c.value_1, entry) << "sign at " << signs[n].position;
    }
    EXPECT_EQ(s().cells[12].kind, 14);  // the first sign, at 550 m
    EXPECT_EQ(s().cells[12].value_1, 80);
    EXPECT_EQ(t[43].name, "") << "37 signs take the entries 80 to 44 only";
}

TEST_F(LineReadingOwnFile, SpeedIndicatorBoards) {
    struct Board {
        std::size_t cell;
        std::int16_t v1, v2, v3, v4;
    };
    const std::vector<Board> boards{
        {15, 2600, 2800, 2800, 0},  {437, 2000, 2100, 2100, 20}, {443, 2000, 2100, 2100, 10},
        {449, 2000, 2100, 2100, 0}, {497, 2600, 2800, 2800, 0},  {799, 1800, 1800, 1800, 0},
        {859, 600, 600, 600, 0},
    };
    for (const Board& b : boards) {
        const Cell& c = s().cells[b.cell];
        EXPECT_EQ(c.kind, 6) << "cell " << b.cell;
        EXPECT_EQ(c.value_1, b.v1) << "cell " << b.cell;
        EXPECT_EQ(c.value_2, b.v2) << "cell " << b.cell;
        EXPECT_EQ(c.value_3, b.v3) << "cell " << b.cell;
        EXPECT_EQ(c.value_4, b.v4) << "cell " << b.cell;
    }
    // Nothing else of the line takes a cell: 7 boards, 37 signs, no mountain.
    int boards_seen = 0, signs_seen = 0;
    for (const Cell& c : s().cells) {
        if (c.kind == 6) ++boards_seen;
        if (c.kind == 14) ++signs_seen;
        EXPECT_TRUE(c.kind == 0 || c.kind == 6 || c.kind == 14);
        EXPECT_EQ(c.mountain_kind, 0);
    }
    EXPECT_EQ(boards_seen, 7);
    EXPECT_EQ(signs_seen, 37);
}

TEST_F(LineReadingOwnFile, GradientsCellByCell) {
    struct Range {
        std::size_t first, last;
        std::uint8_t gradient;  // gradient + 100
    };
    const std::vector<Range> ranges{
        {0, 281, 100},   {282, 321, 94}, {322, 411, 100}, {412, 451, 104},  {452, 471, 106},
        {472, 501, 104}, {502, 511, 95}, {512, 566, 98},  {567, 1057, 100}, {1058, 1060, 0},
    };
    for (const Range& r : ranges) {
        for (std::size_t i = r.first; i <= r.last; ++i) {
            EXPECT_EQ(s().cells[i].gradient, r.gradient) << "cell " << i;
        }
    }
}

TEST_F(LineReadingOwnFile, PlanGrid) {
    const Grid& g = s().grid;
    // Metres 0 to 650 lie on the y axis.
    for (std::size_t m = 0; m <= 650; ++m) {
        EXPECT_EQ(g.x[m], 0.0) << "metre " << m;
        EXPECT_EQ(g.y[m], static_cast<double>(m)) << "metre " << m;
    }
    // The first curve (class 4, right, k = 0.001) turns metres 651 to 1650: its first step is
    // (0 + k · 1, 1 − k · 0), its second turns that step once more.
    EXPECT_DOUBLE_EQ(g.x[651], 0.001);
    EXPECT_DOUBLE_EQ(g.y[651], 651.0);
    EXPECT_DOUBLE_EQ(g.x[652], 0.003);
    EXPECT_DOUBLE_EQ(g.y[652], 651.0 + 1.0 - 0.001 * 0.001);
    for (std::size_t m = 652; m <= 1650; ++m) {
        const Step before = step_to(g, m - 1);
        const Step d = step_to(g, m);
        EXPECT_NEAR(d.dx, before.dx + 0.001 * before.dy, 1e-9) << "metre " << m;
        EXPECT_NEAR(d.dy, before.dy - 0.001 * before.dx, 1e-9) << "metre " << m;
    }
    // 1000 turning steps: each turns by atan(k) and lengthens the step by sqrt(1 + k²).
    const Step last = step_to(g, 1650);
    EXPECT_NEAR(heading(last), 1000 * std::atan(0.001), 1e-9);
    EXPECT_NEAR(std::hypot(last.dx, last.dy), std::pow(1 + 1e-6, 500), 1e-9);
    // Then straight on up to the next curve at 11800.
    for (const std::size_t m : {1651u, 5000u, 11800u}) {
        EXPECT_NEAR(step_to(g, m).dx, last.dx, 1e-9) << "metre " << m;
        EXPECT_NEAR(step_to(g, m).dy, last.dy, 1e-9) << "metre " << m;
    }
    // The straight completion stops at G − 2: metres 52999 and 53000 stay empty.
    EXPECT_EQ(g.computed_metres, 52999);
}

TEST_F(LineReadingOwnFile, GridFileValues) {
    // Tags: 0 empty, 2 a 16-bit integer, 5 a double.
    const DecodedGrid file = decode_grid(encode_grid(s().grid));
    ASSERT_EQ(file.x.size(), 53001u);
    ASSERT_EQ(file.y.size(), 53001u);
    struct Expected {
        std::size_t metre;
        std::uint16_t tag;
        double x, y;
    };
    for (const Expected& e : std::vector<Expected>{{0, 2, 0, 0},
                                                   {1, 2, 0, 1},
                                                   {2, 5, 0, 2},
                                                   {650, 5, 0, 650},
                                                   {651, 5, 0.001, 651},
                                                   {52999, 0, 0, 0},
                                                   {53000, 0, 0, 0}}) {
        EXPECT_EQ(file.x[e.metre].tag, e.tag) << "metre " << e.metre;
        EXPECT_EQ(file.y[e.metre].tag, e.tag) << "metre " << e.metre;
        EXPECT_DOUBLE_EQ(file.x[e.metre].value, e.x) << "metre " << e.metre;
        EXPECT_DOUBLE_EQ(file.y[e.metre].value, e.y) << "metre " << e.metre;
    }
    EXPECT_EQ(file.x[52998].tag, 5);
}

// ---------------------------------------------------------------------------
// The general section.

TEST(LineReading, RouteSizeRoundsTiesToEven) {
    struct Case {
        std::int32_t length;
        std::size_t cells;  // P + 1
    };
    const std::vector<Case> cases{
        {46000, 1061}, {46025, 1061},  // 1060.5 rounds to 1060
        {46075, 1063},                 // 1061.5 rounds to 1062
        {0, 141},      {1000000, 20141},
    };
    for (const Case& c : cases) {
        const Reading r = read_line(line_file({}, "lunghezza percorso,  " + std::to_string(c.length)));
        EXPECT_EQ(r.s.last_error, 0) << c.length;
        EXPECT_EQ(r.s.cells.size(), c.cells) << c.length;
        EXPECT_EQ(r.s.grid.last_metre, c.length + 7000) << c.length;
        EXPECT_EQ(r.s.stations[84].end, c.length);
    }
}

TEST(LineReading, GeneralKeywordsAndTheirLetterCase) {
    using Member = std::int32_t StationEntry::*;
    struct Value {
        int entry;
        Member member;
        std::int32_t expected;
    };
    struct Case {
        const char* name;
        std::vector<std::string> general;  // the lines between "[generale]" and "[curve]"
        std::size_t cells;                 // 0: no route length was read
        std::vector<Value> values;
        std::vector<std::string> body = {};    // the lines after "[curve]"
        std::vector<std::string> before = {};  // the lines before "[generale]"
    };
    const Member inizio = &StationEntry::start, fine = &StationEntry::end, posizione = &StationEntry::position;
    const std::vector<Case> cases{
        {"length with capital initials", {"Lunghezza Percorso,  46000"}, 1061, {{84, fine, 46000}}},
        {"length in capitals", {"LUNGHEZZA PERCORSO,  1000"}, 161, {{84, fine, 1000}}},
        {"progressive due as written",
         {"lunghezza percorso,  46000", "progressiva chilometrica due,  12700,  49600,  1"},
         1061,
         {{81, inizio, 12700}, {81, fine, 49700}, {81, posizione, 1}}},
        {"progressive due with a capital P is ignored",
         {"lunghezza percorso,  46000", "Progressiva chilometrica due,  12700,  49600,  1"},
         1061,
         {{81, inizio, 0}, {81, fine, 0}, {81, posizione, 0}, {82, inizio, 0}, {82, fine, 0}, {83, fine, 0}}},
        {"the three progressives ordered by start",
         {"lunghezza percorso,  46000", "progressiva chilometrica uno,  0,  0,  0",
          "progressiva chilometrica due,  12700,  49600,  1", "progressiva chilometrica tre,  30000,  5000,  0"},
         1061,
         {{81, inizio, 30000}, {81, fine, 5000}, {82, inizio, 12700}, {82, fine, 49700}, {83, inizio, 0}}},
        {"backgrounds",
         {"lunghezza percorso,  46000", "sfondo uno,  1", "sfondo due,  2", "sfondo tre,  3"},
         1061,
         {{85, inizio, 1}, {85, posizione, 2}, {85, fine, 3}}},
        {"a background with a capital S is ignored",
         {"lunghezza percorso,  46000", "Sfondo uno,  1"},
         1061,
         {{85, inizio, 0}}},
        {"a general keyword after the general section is ignored",
         {"lunghezza percorso,  46000"},
         1061,
         {{85, inizio, 0}},
         {"sfondo uno,  7"}},
        {"signal repetition with 9 codes",
         {"lunghezza percorso,  46000", "ripetizione segnali 9 codici,  100,  200"},
         1061,
         {{86, inizio, 100}, {86, fine, 200}, {86, posizione, 9}}},
        {"4 is looked for before 9",
         {"lunghezza percorso,  46000", "ripetizione segnali 94,  100,  200"},
         1061,
         {{86, posizione, 4}}},
        {"a second value of 0 means no cab signalling",
         {"lunghezza percorso,  46000", "ripetizione segnali 4 codici,  100,  0"},
         1061,
         {{86, inizio, 100}, {86, fine, 0}, {86, posizione, 0}}},
        {"fields before [generale] are ignored",
         {"lunghezza percorso,  46000"},
         1061,
         {{84, fine, 46000}, {85, inizio, 0}},
         {},
         {"sfondo uno,  5", "lunghezza percorso,  1000"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = c.before;
        lines.push_back("[generale]");
        lines.insert(lines.end(), c.general.begin(), c.general.end());
        lines.push_back("[curve]");
        lines.insert(lines.end(), c.body.begin(), c.body.end());
        lines.push_back("[fine]");
        const Reading r = read_line(crlf(lines));
        EXPECT_EQ(r.s.last_error, 0) << c.name;
        EXPECT_EQ(r.s.cells.size(), c.cells) << c.name;
        for (const Value& v : c.values) {
            EXPECT_EQ(r.s.stations[static_cast<std::size_t>(v.entry)].*v.member, v.expected)
                << c.name << ", entry " << v.entry;
        }
    }
}

TEST(LineReading, DashRule) {
    const auto dashes = [](int n) { return std::vector<std::string>(static_cast<std::size_t>(n), "----------"); };
    const auto join = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    // In the general section the eleventh of eleven dash fields in a row is tested as a keyword.
    const auto general = [&](int n) {
        return crlf(join(join({"[generale]"}, dashes(n)), {"lunghezza percorso - m,  46000", "[curve]", "[fine]"}));
    };
    const Reading ten = read_line(general(10));
    EXPECT_EQ(ten.s.last_error, 0);
    EXPECT_EQ(ten.s.cells.size(), 1061u);
    const Reading eleven = read_line(general(11));
    EXPECT_EQ(eleven.s.last_error, 25) << "the length line was skipped as a dash field";
    EXPECT_TRUE(eleven.s.cells.empty());

    // After it, the third of three.
    const auto body = [&](int n) { return short_line(join(dashes(n), {"[pendenze] -", "pendenza -,  1000,  5"})); };
    const Reading two = read_line(body(1));
    EXPECT_EQ(two.s.last_error, 0);
    EXPECT_EQ(two.s.cells[20].gradient, 105) << "the gradient line was read";
    const Reading three = read_line(body(2));
    EXPECT_EQ(three.s.last_error, 0);
    EXPECT_EQ(three.s.cells[20].gradient, 100) << "the gradient line was skipped, its values ignored";

    // A comment line of dashes anywhere is one skipped field.
    const Reading comments = read_line(crlf({"---- linea ----", "[generale]", "----", "lunghezza percorso,  1000",
                                             "[curve]", "----", "pendenza,  1000,  5", "----", "[fine]"}));
    EXPECT_EQ(comments.s.last_error, 0);
    EXPECT_EQ(comments.s.cells.size(), 161u);
    EXPECT_EQ(comments.s.cells[20].gradient, 105);
}

// ---------------------------------------------------------------------------
// The line section.

TEST(LineReading, GradientFills) {
    struct Range {
        std::size_t first, last;
        std::uint8_t gradient;
    };
    struct Case {
        const char* name;
        std::vector<std::string> body;
        std::vector<Range> ranges;  // of the cells 0 to 160
    };
    const std::vector<Case> cases{
        {"no gradient line", {}, {{0, 157, 100}, {158, 160, 0}}},
        {"a gradient at 0 writes no cell",
         {"pendenza,  0,  5", "pendenza,  1000,  0"},
         {{0, 19, 105}, {20, 157, 100}, {158, 160, 0}}},
        {"two positions round to the same boundary",
         {"pendenza,  1000,  5", "pendenza,  1010,  7"},
         {{0, 19, 100}, {20, 20, 105}, {21, 157, 107}}},
        {"20.5 rounds to 20", {"pendenza,  1025,  5"}, {{0, 19, 100}, {20, 157, 105}}},
        {"21.5 rounds to 22", {"pendenza,  1075,  5"}, {{0, 21, 100}, {22, 157, 105}}},
        {"a line out of order writes one cell",
         {"pendenza,  2000,  5", "pendenza,  1000,  7"},
         {{0, 39, 100}, {40, 40, 105}, {41, 157, 107}}},
        {"the stored byte keeps the low 8 bits",
         {"pendenza,  0,  -101", "pendenza,  1000,  157"},
         {{0, 19, 255}, {20, 157, 1}}},
        {"the completion writes at least one cell",
         {"pendenza,  7900,  3"},
         {{0, 157, 100}, {158, 158, 103}, {159, 160, 0}}},
    };
    for (const Case& c : cases) {
        const Reading r = read_line(short_line(c.body));
        ASSERT_EQ(r.s.cells.size(), 161u) << c.name;
        EXPECT_EQ(r.s.last_error, 0) << c.name;
        for (const Range& range : c.ranges) {
            for (std::size_t i = range.first; i <= range.last; ++i) {
                EXPECT_EQ(r.s.cells[i].gradient, range.gradient) << c.name << ", cell " << i;
            }
        }
    }
}

TEST(LineReading, CurveKeywordsChooseSideAndClass) {
    struct Case {
        const char* keyword;
        double k;  // positive: right
    };
    const std::vector<Case> cases{
        {"curvad1", 0.0001}, {"curvad2", 0.0002},  {"curvad3", 0.0004},  {"curvad4", 0.001},   {"curvad5", 0.002},
        {"curvad6", 0.003},  {"curvas4", -0.001},  {"curvaS2", -0.0002}, {"CURVAS2", -0.0002}, {"Curvad3", 0.0004},
        {"curva12", 0.0001}, {"curvad21", 0.0001}, {"curva 6 d", 0.003},
    };
    for (const Case& c : cases) {
        const Reading r = read_line(short_line({std::string(c.keyword) + ",  100,  10"}));
        ASSERT_EQ(r.s.last_error, 0) << c.keyword;
        const Grid& g = r.s.grid;
        EXPECT_EQ(g.x[100], 0.0) << c.keyword;
        // The first curve step from the heading (0, 1): x gains k, y gains 1.
        EXPECT_DOUBLE_EQ(g.x[101], c.k) << c.keyword;
        EXPECT_DOUBLE_EQ(g.y[101], 101.0) << c.keyword;
        // Ten metres turn, then the track runs straight.
        EXPECT_NEAR(heading(step_to(g, 110)), 10 * std::atan(c.k), 1e-12) << c.keyword;
        EXPECT_NEAR(heading(step_to(g, 111)), heading(step_to(g, 110)), 1e-12) << c.keyword;
    }
}

TEST(LineReading, CurvesInThePlan) {
    // A curve whose start lies behind the metre already reached turns from there to its end.
    const Reading overlap = read_line(short_line({"curvad4,  100,  100", "curvad4,  150,  100"}));
    ASSERT_EQ(overlap.s.last_error, 0);
    const Grid& g = overlap.s.grid;
    EXPECT_NEAR(heading(step_to(g, 200)), 100 * std::atan(0.001), 1e-12);
    EXPECT_NEAR(heading(step_to(g, 250)), 150 * std::atan(0.001), 1e-12);
    EXPECT_NEAR(heading(step_to(g, 251)), 150 * std::atan(0.001), 1e-12);
    EXPECT_EQ(g.computed_metres, 7999);

    // Without the grid a curve line is no keyword: its values pass as ignored fields, and
    // neither a missing class nor a start past the route is a fault.
    const std::string curves = short_line({"curvad,  650,  10", "curvad4,  60000,  10", "pendenza,  1000,  5"});
    const Reading without_grid = read_line(curves, empty_train(), 0);
    EXPECT_EQ(without_grid.s.last_error, 0);
    EXPECT_FALSE(without_grid.s.grid.has_size());
    EXPECT_EQ(without_grid.s.cells[20].gradient, 105);
    EXPECT_EQ(read_line(curves, empty_train(), 1).s.last_error, 103);
}

TEST(LineReading, BoardsAndSignsReplaceMountainMarkers) {
    const Reading r = read_line(line_file({
        "montagna,  1000,  2000,  12",
        "indicatori_vmax,  1100,  100,  100,  100,  0,    ,    ,    ,  0",
        "cartello_indicatore,  1300,     (x)",
    }));
    ASSERT_EQ(r.s.last_error, 0);
    EXPECT_EQ(r.s.cells[23].kind, 6);
    EXPECT_EQ(r.s.cells[23].value_1, 2000);
    EXPECT_EQ(r.s.cells[27].kind, 14);
    EXPECT_EQ(r.s.stations[80].name, "(x)");
    EXPECT_EQ(r.s.cells[31].kind, 11) << "the markers that no board took stay";
    for (const std::size_t i : {23u, 27u, 31u}) EXPECT_EQ(r.s.cells[i].mountain_kind, 2) << "cell " << i;
    EXPECT_EQ(r.s.mountain_count, 1);
}

TEST(LineReading, TheLastFieldIsNeverInterpreted) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::string entry_80;
    };
    const std::vector<Case> cases{
        {"a sign before [fine] is read", {"cartello_indicatore,  550,     (a)", "[fine]"}, "(a)"},
        {"a keyword alone on the last line", {"cartello_indicatore"}, ""},
        {"a sign whose text is the last field", {"cartello_indicatore,  550,     (a)"}, "(a)"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines{"[generale]", "lunghezza percorso,  46000", "[curve]"};
        lines.insert(lines.end(), c.lines.begin(), c.lines.end());
        const Reading r = read_line(crlf(lines));
        EXPECT_EQ(r.s.last_error, 0) << c.name;
        EXPECT_EQ(r.s.stations[80].name, c.entry_80) << c.name;
    }
}

TEST(LineReading, TheLastRoomyPosition) {
    const std::string massa = crlf({"[generale]", "percentuale massa frenata,  480", "[fine]"});
    // 52900 + 100 = 50 × 1060: the sign is accepted, in cell 1059.
    const Reading at_52900 = read_line(line_file({"cartello_indicatore,  52900,     (a)"}), massa);
    EXPECT_EQ(at_52900.s.last_error, 0);
    EXPECT_EQ(at_52900.s.cells[1059].kind, 14);
    EXPECT_EQ(at_52900.s.cells[1059].value_1, 80);

    // 50 m further it is error 15: the line file is read no further, the train file still is.
    const Reading at_52950 =
        read_line(line_file({"cartello_indicatore,  1000,     (a)", "cartello_indicatore,  52950,     (b)",
                             "cartello_indicatore,  2000,     (c)"}),
                  massa);
    EXPECT_EQ(at_52950.s.last_error, 15);
    EXPECT_EQ(at_52950.s.error_position, 52950);
    EXPECT_EQ(at_52950.s.stations[80].name, "(a)");
    EXPECT_EQ(at_52950.s.stations[79].name, "") << "the reading stopped at 52950";
    EXPECT_EQ(at_52950.s.cells[41].kind, 0);
    EXPECT_EQ(at_52950.s.cells[1057].gradient, 100) << "the gradients are still completed";
    EXPECT_EQ(at_52950.s.grid.computed_metres, 52999) << "the grid is still completed";
    EXPECT_EQ(at_52950.s.stations[84].start, 480) << "the train file was read";
    EXPECT_FALSE(at_52950.train_file_left);
}

TEST(LineReading, OnlyTheGeneralHeaderAndTheLength) {
    const Reading r = read_line(crlf({"[generale]", "lunghezza percorso,  1000"}));
    EXPECT_EQ(r.s.last_error, 0);
    ASSERT_EQ(r.s.cells.size(), 161u);
    for (std::size_t i = 0; i <= 157; ++i) EXPECT_EQ(r.s.cells[i].gradient, 100) << "cell " << i;
    for (std::size_t i = 158; i <= 160; ++i) EXPECT_EQ(r.s.cells[i].gradient, 0) << "cell " << i;
    // A straight line along +y up to metre G − 2 = 7998.
    const Grid& g = r.s.grid;
    EXPECT_EQ(g.computed_metres, 7999);
    for (const std::size_t m : {0u, 1u, 2u, 4000u, 7998u}) {
        EXPECT_EQ(g.x[m], 0.0) << "metre " << m;
        EXPECT_EQ(g.y[m], static_cast<double>(m)) << "metre " << m;
    }
}

// ---------------------------------------------------------------------------
// Faults.

TEST(LineReading, EveryFaultOfThePhase) {
    const std::string board = ",  100,  100,  100,  0,  0,  0,  0,  0";
    const auto repeated = [](int n, const std::function<std::string(int)>& line) {
        std::vector<std::string> lines;
        for (int i = 1; i <= n; ++i) lines.push_back(line(i));
        return lines;
    };
    const auto signs = [&](int n) {
        return line_file(
            repeated(n, [](int i) { return "cartello_indicatore,  " + std::to_string(50 * (i - 1)) + ",  (s)"; }));
    };
    const auto mountains = [&](int n) {
        return line_file(repeated(n, [](int i) {
            return "montagna,  " + std::to_string(500 * i) + ",  " + std::to_string(500 * i + 100) + ",  1";
        }));
    };
    const auto repetition = [](const std::string& line) {
        return crlf({"[generale]", "lunghezza percorso,  46000", line, "[curve]", "[fine]"});
    };
    struct Case {
        const char* name;
        std::optional<std::string> line;  // no value: no line file
        std::int32_t number;
        std::int32_t position;  // 0: the fault sets none
        bool cells;             // the route was sized before the fault
    };
    const std::vector<Case> cases{
        {"no line file", std::nullopt, 101, 0, false},
        {"no [generale]", crlf({"lunghezza percorso,  46000", "[fine]"}), 102, 0, false},
        {"[generale] as the last field", crlf({"[generale]"}), 102, 0, false},
        {"a length above 1000000", line_file({}, "lunghezza percorso,  1000001"), 1, 0, false},
        {"first repetition value", repetition("ripetizione segnali 4 codici,  25,  0"), 3, 0, true},
        {"second repetition value", repetition("ripetizione segnali 4 codici,  0,  25"), 4, 0, true},
        {"repetition without a code count", repetition("ripetizione segnali codici,  50,  100"), 5, 0, true},
        {"a curve without a class", line_file({"curvad,  650,  100"}), 103, 0, true},
        {"a curve past metre 1000000", line_file({"curvad4,  999000,  5000"}, "lunghezza percorso,  1000000"), 103, 0,
         true},
        {"a gradient past the cells", line_file({"pendenza,  52901,  0"}), 15, 52901, true},
        {"a curve start past the cells", line_file({"curvad4,  52901,  10"}), 15, 52901, true},
        {"a curve past the grid", line_file({"curvad4,  52000,  1001"}), 15, 52000, true},
        {"a mountain start past the cells", line_file({"montagna,  52901,  53000,  1"}), 15, 52901, true},
        {"mountain cells past the last cell", line_file({"montagna,  52000,  60000,  1"}), 15, 52000, true},
        {"a board past the cells", line_file({"indicatori_vmax,  52950" + board}), 15, 52950, true},
        {"a sign past the cells", line_file({"cartello_indicatore,  52950,  (s)"}), 15, 52950, true},
        {"a negative gradient position", line_file({"pendenza,  -100,  1"}), 15, -100, true},
        {"a negative curve start", line_file({"curvad4,  -10,  100"}), 15, -10, true},
        {"a negative mountain start", line_file({"montagna,  -500,  1000,  1"}), 15, -500, true},
        {"a negative board position", line_file({"indicatori_vmax,  -50" + board}), 15, -50, true},
        {"a negative sign position", line_file({"cartello_indicatore,  -50,  (s)"}), 15, -50, true},
        {"gradients out of order past the last cell",
         line_file({"pendenza,  52900,  1", "pendenza,  100,  2", "pendenza,  100,  3", "pendenza,  100,  4",
                    "pendenza,  100,  5"}),
         15, 100, true},
        {"a board on a sign", line_file({"cartello_indicatore,  700,  (s)", "indicatori_vmax,  700" + board}), 21, 700,
         true},
        {"a board on a board", line_file({"indicatori_vmax,  700" + board, "indicatori_vmax,  710" + board}), 21, 710,
         true},
        {"a sign on a board", line_file({"indicatori_vmax,  700" + board, "cartello_indicatore,  690,  (s)"}), 6, 690,
         true},
        {"a sign on a sign", line_file({"cartello_indicatore,  700,  (s)", "cartello_indicatore,  700,  (t)"}), 6, 700,
         true},
        {"an 81st sign", signs(81), 10, 4000, true},
        {"an 81st mountain", mountains(81), 10, 40500, true},
        {"a truncated file", crlf({"[generale]", "lunghezza percorso,  46000", "[curve]", "pendenza,  1000"}), 25, 0,
         true},
        {"a dash field with nothing after it", crlf({"[generale]", "lunghezza percorso,  46000", "--", "--"}), 25, 0,
         true},
        {"a value that is not a number", line_file({"pendenza,  1000,  x5"}), 25, 0, true},
        {"a speed code beyond 16 bits", line_file({"indicatori_vmax,  700,  1700,  0,  0,  0,  0,  0,  0,  0"}), 25, 0,
         true},
        {"no length line", crlf({"[generale]", "sfondo uno,  1", "[curve]", "pendenza,  100,  1", "[fine]"}), 25, 0,
         false},
        {"a length that does not fit 32 bits", line_file({}, "lunghezza percorso,  4000000000"), 25, 0, false},
    };
    for (const Case& c : cases) {
        const Reading r = read_line(c.line);
        EXPECT_EQ(r.s.last_error, c.number) << c.name;
        EXPECT_EQ(r.s.error_position, c.position) << c.name;
        EXPECT_EQ(!r.s.cells.empty(), c.cells) << c.name;
        // The line file never survives; the train file is read (and deleted) after error 15, deleted
        // by error 25, and left alone by every other fault of the line.
        EXPECT_EQ(r.train_file_left, c.number != 15 && c.number != 25) << c.name;
    }
}

TEST(LineReading, TablesFullAtTheirLastPlace) {
    // 80 signs fill the entries 80 down to 1; 80 mountains are all counted.
    std::vector<std::string> signs, mountains;
    for (int i = 1; i <= 80; ++i) {
        signs.push_back("cartello_indicatore,  " + std::to_string(50 * (i - 1)) + ",  (" + std::to_string(i) + ")");
        mountains.push_back("montagna,  " + std::to_string(500 * i) + ",  " + std::to_string(500 * i + 100) + ",  1");
    }
    const Reading full_signs = read_line(line_file(signs));
    EXPECT_EQ(full_signs.s.last_error, 0);
    EXPECT_EQ(full_signs.s.stations[1].name, "(80)");
    EXPECT_EQ(full_signs.s.cells[80].value_1, 1);
    EXPECT_EQ(full_signs.s.stations[0].name, "");
    const Reading full_mountains = read_line(line_file(mountains));
    EXPECT_EQ(full_mountains.s.last_error, 0);
    EXPECT_EQ(full_mountains.s.mountain_count, 80);
    EXPECT_EQ(full_mountains.s.mountain_starts[80], 40000);
}

TEST(LineReading, AFaultPointsAtItsField) {
    const Reading r = read_line(line_file({"pendenza,  1000,  0", "cartello_indicatore,  52950,  (s)"}));
    ASSERT_FALSE(r.s.faults.empty());
    const Diagnostic& f = r.s.faults.back();
    EXPECT_EQ(f.number, 15);
    ASSERT_TRUE(f.where.has_value());
    EXPECT_EQ(f.where->file, SourceFile::kLine);
    EXPECT_EQ(f.where->line, 5);
    EXPECT_EQ(f.where->column, 23);
    EXPECT_EQ(f.where->end_column, 28);  // the position field "52950"
}

}  // namespace
}  // namespace scenariogen
