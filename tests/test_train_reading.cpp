// The reading of the train description: header values, speed and adhesion
// cells, stations with their marker cells, code-drop points, the hand-over
// to the signal and slowdown markers, every fault of the phase and the files
// that remain after each way the reading can end.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "compiler/description_reading.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using testing::crlf;

// A short line: 3000 m, so the cells run from 0 to U = (3000 + 7000) / 50 = 200.
constexpr std::int32_t kU = 200;

std::string short_line(const std::vector<std::string>& extra = {}) {
    std::vector<std::string> lines{"[generale]", "lunghezza percorso,  3000", "[linea]"};
    lines.insert(lines.end(), extra.begin(), extra.end());
    lines.push_back("[fine]");
    return crlf(lines);
}

std::string train(const std::vector<std::string>& body) {
    std::vector<std::string> lines{"[generale]"};
    lines.insert(lines.end(), body.begin(), body.end());
    lines.push_back("[fine]");
    return crlf(lines);
}

std::string num(std::int32_t v) { return std::to_string(v); }

std::string velocita(std::int32_t p, std::int32_t v) { return "velocita,  " + num(p) + ",  " + num(v); }
std::string aderenza(std::int32_t p, std::int32_t a) { return "aderenza,  " + num(p) + ",  " + num(a); }
std::string abbattimento(std::int32_t p, std::int32_t x) { return "abbattimento,  " + num(p) + ",  " + num(x); }
std::string segnale(std::int32_t p) { return "segnale,  " + num(p) + ",  1,  4,  1,  0,  0,  0,  0,  0,  0,  0"; }
std::string rallentamento(std::int32_t p, std::int32_t l, std::int32_t f_ta = 0) {
    return "rallentamento,  " + num(p) + ",  60,  " + num(l) + ",  0,  " + num(f_ta) + ",  0";
}
// A station line: position, type, length, attributo_15, attributo_14; the
// other values as in the scenario's own stations; time 6:33:00.
std::string stazione(std::int32_t p, std::int32_t tipo, std::int32_t l, std::int32_t a15 = 0, std::int32_t a14 = 0) {
    return "stazione,  " + num(p) + ",  " + num(tipo) + ",  " + num(l) + ",  0,  " + num(a15) + ",  " + num(a14) +
           ",  1,  1,  0,  4,  1,  1,  60,  6,  33,  0,   STAZIONE";
}
std::string cartello(std::int32_t p) { return "cartello_indicatore,  " + num(p) + ",     (testo)"; }

// One reading of both descriptions (no post-processing), and which of the
// run's description files it leaves on disk: the line description goes once
// read; the train description goes when its reading began or a reading
// failure ended both. Without a line description (error 101) nothing is read.
struct Reading {
    CompilationState s;
    bool train_left = false;

    Reading(const std::optional<std::string>& line_text, const std::string& train_text) {
        s.scenario_name = "Zervano-OdelmaVmod";
        s.train_number = "27340";
        s.build_grid = false;
        if (!line_text) {
            s.last_error = 101;
            train_left = true;
            return;
        }
        const ReadingExtent extent = read_descriptions(s, DescriptionTexts{*line_text, train_text});
        train_left = !consumes_train_description(extent.train_read, extent.reading_failed);
    }

    bool train_file_left() const { return train_left; }
    const Cell& at(std::int32_t i) const { return s.cells.at(static_cast<std::size_t>(i)); }
    const StationEntry& entry(std::int32_t k) const { return s.stations.at(static_cast<std::size_t>(k)); }
};

struct Range {
    std::int32_t first, last, value;
};

void expect_ranges(const CompilationState& s, std::uint8_t Cell::*member, const std::vector<Range>& ranges,
                   const std::string& what) {
    for (const Range& r : ranges) {
        for (std::int32_t i = r.first; i <= r.last; ++i) {
            EXPECT_EQ(s.cells.at(static_cast<std::size_t>(i)).*member, r.value) << what << ", cell " << i;
        }
    }
}

// --- The scenario's own train description -------------------------------

class TrainReadingOwnDescription : public ::testing::Test {
protected:
    static void SetUpTestSuite() { reading_ = new Reading(testing::own_line_text(), testing::own_train_text()); }
    static void TearDownTestSuite() {
        delete reading_;
        reading_ = nullptr;
    }
    static Reading* reading_;
};
Reading* TrainReadingOwnDescription::reading_ = nullptr;

TEST_F(TrainReadingOwnDescription, ReadsWithoutFaultAndDeletesBothFiles) {
    EXPECT_EQ(reading_->s.last_error, 0);
    EXPECT_EQ(reading_->s.error_position, 0);
    EXPECT_EQ(reading_->s.last_cell(), 1060);
    EXPECT_FALSE(reading_->train_file_left());
}

TEST_F(TrainReadingOwnDescription, SpeedAndAdhesionCells) {
    expect_ranges(
        reading_->s, &Cell::speed_limit,
        {{0, 13, 28}, {14, 461, 28}, {462, 495, 21}, {496, 819, 28}, {820, 861, 18}, {862, 1057, 6}, {1058, 1060, 0}},
        "velocita_limite");
    expect_ranges(reading_->s, &Cell::adhesion, {{0, 1057, 100}, {1058, 1060, 0}}, "aderenza");
}

TEST_F(TrainReadingOwnDescription, TrainDataInTheHeaderEntries) {
    const StationEntry& treno = reading_->entry(84);
    EXPECT_EQ(treno.start, 130);   // braked-mass percentage
    EXPECT_EQ(treno.end, 46000);   // route length, from the line description
    EXPECT_EQ(treno.position, 6);  // coaches
    const StationEntry& segnalamento = reading_->entry(86);
    EXPECT_EQ(segnalamento.attribute_7, 300);  // sand
    EXPECT_EQ(segnalamento.attribute_9, 6);    // clock 6:32:50
    EXPECT_EQ(segnalamento.attribute_10, 32);
    EXPECT_EQ(segnalamento.attribute_11, 50);
}

TEST_F(TrainReadingOwnDescription, StationEntries) {
    struct Expected {
        std::int32_t k;
        const char* name;
        std::uint8_t kind;
        std::int32_t start, end, position, time;
        std::uint8_t attribute_14, attribute_15, dwell;
    };
    const std::vector<Expected> stations{
        {1, "ZERVANO", 4, -300, 300, 0, 23580, 0, 0, 1},
        {2, "LUVERA", 12, 5000, 5650, 5300, 23940, 1, 0, 60},
        {3, "BRENDAGO", 12, 12550, 13100, 12800, 24360, 1, 0, 60},
        {4, "TORRIANEVALLE", 12, 22800, 23400, 23100, 24900, 0, 0, 60},
        {5, "MURIELLO", 12, 31950, 32550, 32250, 25620, 0, 0, 60},
        {6, "CALVISSO", 27, 35500, 35800, 35650, 25920, 0, 0, 60},
        {7, "FONTEGA", 12, 38400, 39000, 38700, 26160, 0, 0, 60},
        {8, "ODELMA S.LEONARDINO", 2, 40700, 41350, 41000, 26400, 1, 0, 60},
        {9, "ODELMA P.LIVARA", 12, 43900, 44500, 44200, 26700, 0, 0, 0},
    };
    for (const Expected& e : stations) {
        SCOPED_TRACE(e.name);
        const StationEntry& v = reading_->entry(e.k);
        EXPECT_EQ(v.name, e.name);
        EXPECT_EQ(v.kind, e.kind);
        EXPECT_EQ(v.start, e.start);
        EXPECT_EQ(v.end, e.end);
        EXPECT_EQ(v.position, e.position);
        EXPECT_EQ(v.time, e.time);
        EXPECT_EQ(v.attribute_14, e.attribute_14);
        EXPECT_EQ(v.attribute_15, e.attribute_15);
        EXPECT_EQ(v.dwell, e.dwell);
    }
    // MURIELLO carries its values as read (1, 4, 1, 0, 2, 1, 1).
    const StationEntry& muriello = reading_->entry(5);
    EXPECT_EQ(muriello.attribute_5, 1);
    EXPECT_EQ(muriello.attribute_7, 4);
    EXPECT_EQ(muriello.attribute_8, 1);
    EXPECT_EQ(muriello.attribute_12, 0);
    EXPECT_EQ(muriello.attribute_9, 2);
    EXPECT_EQ(muriello.attribute_10, 1);
    EXPECT_EQ(muriello.attribute_11, 1);
    // ODELMA S.LEONARDINO: attributo_9 3, attributo_10 4.
    EXPECT_EQ(reading_->entry(8).attribute_9, 3);
    EXPECT_EQ(reading_->entry(8).attribute_10, 4);
    EXPECT_EQ(reading_->entry(10).name, "");
    EXPECT_EQ(reading_->entry(10).kind, 0);
}

TEST_F(TrainReadingOwnDescription, StationMarkerCells) {
    // ZERVANO: approach markers 81, 82, 83 on cells 4, 3, 2; the 4th would be
    // cell 1, where x = 1 is not above 1.
    EXPECT_EQ(reading_->at(4).approach_marker, 81);
    EXPECT_EQ(reading_->at(3).approach_marker, 82);
    EXPECT_EQ(reading_->at(2).approach_marker, 83);
    EXPECT_EQ(reading_->at(1).approach_marker, 0);
    // LUVERA ends at 5650 m: end marker on cell 112, approach markers 111 to 108.
    for (std::int32_t m = 1; m <= 4; ++m) EXPECT_EQ(reading_->at(112 - m).approach_marker, 80 + m) << "m " << m;

    struct End {
        std::int32_t cell, k;
    };
    for (const End e :
         {End{5, 1}, End{112, 2}, End{261, 3}, End{467, 4}, End{650, 5}, End{779, 7}, End{826, 8}, End{889, 9}}) {
        EXPECT_EQ(reading_->at(e.cell).kind, kStationEnd) << "cell " << e.cell;
        EXPECT_EQ(reading_->at(e.cell).value_1, e.k) << "cell " << e.cell;
    }
    // CALVISSO (type 27) has no marker cells: nothing at 711 to 715.
    for (std::int32_t i = 711; i <= 715; ++i) {
        EXPECT_NE(reading_->at(i).kind, kStationEnd) << "cell " << i;
        EXPECT_EQ(reading_->at(i).approach_marker, 0) << "cell " << i;
    }
    std::int32_t ends = 0;
    for (const Cell& c : reading_->s.cells) ends += c.kind == kStationEnd;
    EXPECT_EQ(ends, 8);
}

TEST_F(TrainReadingOwnDescription, TwelveSignals) {
    struct Signal {
        std::int32_t cell;
        std::int16_t value_1, value_2, value_4;
        std::int32_t lati;  // sx * 3 + dx
    };
    const std::vector<Signal> signals{
        {65, 40, 10, 3, 3},  {91, 30, 10, 6, 6},  {213, 40, 10, 3, 3}, {237, 30, 10, 6, 6},
        {422, 50, 10, 3, 3}, {447, 30, 10, 6, 6}, {607, 50, 60, 3, 3}, {631, 20, 30, 16, 6},
        {737, 50, 10, 3, 3}, {761, 30, 10, 6, 6}, {800, 30, 10, 6, 6}, {861, 20, 30, 6, 6},
    };
    std::int32_t count = 0;
    for (const Cell& c : reading_->s.cells) count += c.kind == kSignal;
    EXPECT_EQ(count, 12);
    for (const Signal& sig : signals) {
        SCOPED_TRACE("signal cell " + num(sig.cell));
        const Cell& c = reading_->at(sig.cell);
        EXPECT_EQ(c.kind, kSignal);
        EXPECT_EQ(c.value_1, sig.value_1);
        EXPECT_EQ(c.value_2, sig.value_2);
        EXPECT_EQ(c.value_3, 0);
        EXPECT_EQ(c.value_4, sig.value_4);
        EXPECT_EQ(c.signal_time, 0);
        for (std::int32_t m = 1; m <= 4; ++m) {
            EXPECT_EQ(reading_->at(sig.cell - 2 * m).approach_marker, sig.lati * 10 + m) << "advance cell " << m;
        }
    }
}

// --- Speed, adhesion and code-drop cells ----------------------------------

struct StretchCase {
    const char* name;
    std::vector<std::string> body;
    std::uint8_t Cell::*member;
    std::vector<Range> ranges;
    std::int32_t number;
};

TEST(TrainReading, SpeedAndAdhesionSteps) {
    const auto speed = &Cell::speed_limit;
    const auto adhesion = &Cell::adhesion;
    const std::vector<StretchCase> cases{
        // A line at position 0 only sets the pending value: a fault that skips
        // the end processing (error 8) shows that no cell was written.
        {"position 0 writes nothing", {velocita(0, 100), stazione(1025, 12, 600)}, speed, {{0, kU, 0}}, 8},
        {"the next line writes up to its cell",
         {velocita(0, 100), velocita(500, 50), stazione(1025, 12, 600)},
         speed,
         {{0, 9, 20}, {10, kU, 0}},
         8},
        {"end of file carries the last value to U - 3",
         {velocita(0, 100), velocita(500, 50)},
         speed,
         {{0, 9, 20}, {10, kU - 3, 10}, {kU - 2, kU, 0}},
         0},
        {"a line before the previous one still writes one cell",
         {velocita(0, 100), velocita(1000, 50), velocita(500, 80)},
         speed,
         {{0, 19, 20}, {20, 20, 10}, {21, kU - 3, 16}, {kU - 2, kU, 0}},
         0},
        {"1025 m rounds to cell 20", {velocita(0, 100), velocita(1025, 50)}, speed, {{0, 19, 20}, {20, 21, 10}}, 0},
        {"1075 m rounds to cell 22", {velocita(0, 100), velocita(1075, 50)}, speed, {{0, 21, 20}, {22, 23, 10}}, 0},
        {"1277 km/h is the highest speed a cell holds",
         {velocita(0, 1277), velocita(100, 50)},
         speed,
         {{0, 1, 255}, {2, 3, 10}},
         0},
        {"speed stops at the last cell without a fault",
         {velocita(9900, 50), velocita(50, 60), velocita(50, 60), velocita(50, 60)},
         speed,
         {{0, 197, 0}, {198, 198, 10}, {199, kU, 12}},
         0},
        {"adhesion like speed",
         {aderenza(0, 90), aderenza(1000, 80), aderenza(500, 70)},
         adhesion,
         {{0, 19, 90}, {20, 20, 80}, {21, kU - 3, 70}, {kU - 2, kU, 0}},
         0},
        // The adhesion step has no stop at U: lines that do not advance fill
        // the cells up to the last one, and the next is refused.
        {"adhesion past the last cell is refused",
         {aderenza(9900, 50), aderenza(50, 60), aderenza(50, 60), aderenza(50, 60), aderenza(50, 60)},
         adhesion,
         {{0, 197, 0}, {198, 198, 50}, {199, kU, 60}},
         15},
    };
    for (const StretchCase& c : cases) {
        SCOPED_TRACE(c.name);
        Reading r(short_line(), train(c.body));
        EXPECT_EQ(r.s.last_error, c.number);
        expect_ranges(r.s, c.member, c.ranges, c.name);
    }
}

TEST(TrainReading, CodeDropPointsUseTheCellWithoutPlusOne) {
    struct Case {
        std::string line;
        std::int32_t cell;
        std::uint8_t kind;
        std::int16_t value_1;
    };
    for (const Case& c : std::vector<Case>{{abbattimento(1025, 7), 20, kCodeDrop, 7},
                                           {abbattimento(1075, 0), 22, kCodeDropWithoutValue, 0},
                                           {abbattimento(1000, -5), 20, kCodeDropWithoutValue, 0},
                                           {abbattimento(9900, 300), 198, kCodeDrop, 300}}) {
        SCOPED_TRACE(c.line);
        Reading r(short_line(), train({c.line}));
        EXPECT_EQ(r.s.last_error, 0);
        EXPECT_EQ(r.at(c.cell).kind, c.kind);
        EXPECT_EQ(r.at(c.cell).value_1, c.value_1);
        EXPECT_EQ(r.at(c.cell + 1).kind, kEmpty);
    }
}

// --- Stations ---------------------------------------------------------------

TEST(TrainReading, StationExtentsAndMarkers) {
    // Station 1 at 1000 m, 600 m long: 700 to 1300 m, end marker on cell 25.
    const std::string first = stazione(1000, 12, 600);
    struct Case {
        const char* name;
        std::vector<std::string> body;
        std::int32_t k;
        std::uint8_t kind;
        std::int32_t start, end;
        std::uint8_t attribute_14, attribute_15;
        std::int32_t end_cell;  // -1: no marker cells
        bool approach;
    };
    const std::vector<Case> cases{
        {"first station: attributo_14 lengthens, then both are cleared",
         {stazione(1000, 12, 600, 9, 1)},
         1,
         12,
         700,
         1350,
         0,
         0,
         26,
         true},
        {"later station keeps both", {first, stazione(3000, 12, 600, 9, 1)}, 2, 12, 2700, 3350, 1, 9, 66, true},
        {"shorter than 600 m loses attributo_15",
         {first, stazione(3000, 12, 500, 9, 0)},
         2,
         12,
         2750,
         3250,
         0,
         0,
         64,
         true},
        {"type 5: 150 m past the position, no approach markers",
         {first, stazione(3000, 5, 600, 9, 1)},
         2,
         5,
         2400,
         3150,
         0,
         9,
         62,
         false},
        {"type 6", {first, stazione(3000, 6, 400, 9, 1)}, 2, 6, 2600, 3150, 0, 0, 62, false},
        {"type 7: the length on both sides", {first, stazione(3000, 7, 400, 9, 1)}, 2, 7, 2600, 3400, 0, 0, 67, true},
        {"type 8", {first, stazione(3000, 8, 600, 9, 0)}, 2, 8, 2400, 3600, 0, 9, 71, true},
        {"type 24 still has markers", {first, stazione(3000, 24, 600)}, 2, 24, 2700, 3300, 0, 0, 65, true},
        {"type 25 has none", {first, stazione(3000, 25, 600)}, 2, 25, 2700, 3300, 0, 0, -1, false},
        {"type 27 has none", {first, stazione(3000, 27, 300, 9, 0)}, 2, 27, 2850, 3150, 0, 0, -1, false},
        {"exactly 350 m after the previous area", {first, stazione(1950, 12, 600)}, 2, 12, 1650, 2250, 0, 0, 44, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reading r(short_line(), train(c.body));
        EXPECT_EQ(r.s.last_error, 0);
        const StationEntry& v = r.entry(c.k);
        EXPECT_EQ(v.kind, c.kind);
        EXPECT_EQ(v.start, c.start);
        EXPECT_EQ(v.end, c.end);
        EXPECT_EQ(v.attribute_14, c.attribute_14);
        EXPECT_EQ(v.attribute_15, c.attribute_15);
        EXPECT_EQ(v.time, 23580);
        EXPECT_EQ(v.name, "STAZIONE");
        EXPECT_EQ(r.entry(c.k + 1).kind, 0);

        std::int32_t own_ends = 0;
        for (const Cell& cell : r.s.cells) own_ends += cell.kind == kStationEnd && cell.value_1 == c.k;
        if (c.end_cell < 0) {
            EXPECT_EQ(own_ends, 0);
            for (std::int32_t i = c.end / 50 - 5; i <= c.end / 50; ++i) EXPECT_EQ(r.at(i).approach_marker, 0) << i;
            continue;
        }
        EXPECT_EQ(own_ends, 1);
        EXPECT_EQ(r.at(c.end_cell).kind, kStationEnd);
        EXPECT_EQ(r.at(c.end_cell).value_1, c.k);
        EXPECT_EQ(r.at(c.end_cell).approach_marker, 0);
        for (std::int32_t m = 1; m <= 4; ++m) {
            EXPECT_EQ(r.at(c.end_cell - m).approach_marker, c.approach ? 80 + m : 0) << "approach cell " << m;
        }
        EXPECT_EQ(r.at(c.end_cell - 5).approach_marker, 0);
    }
}

TEST(TrainReading, StationMarkersAreNotTestedForOccupation) {
    // A sign board in cell 26 (1250 m) lies under the end marker of a station
    // ending at 1350 m, and a signal in cell 24 under an approach marker.
    Reading r(short_line({cartello(1250)}), train({segnale(1150), stazione(1000, 12, 600, 0, 1)}));
    EXPECT_EQ(r.s.last_error, 0);
    EXPECT_EQ(r.at(26).kind, kStationEnd);
    EXPECT_EQ(r.at(26).value_1, 1);
    EXPECT_EQ(r.at(24).kind, kSignal);
    EXPECT_EQ(r.at(24).approach_marker, 82);
}

TEST(TrainReading, StationCountMeetsTheSignTexts) {
    // 77 sign texts take entries 80 down to 4: one station still fits (78 in
    // all), the second is error 10.
    std::vector<std::string> signs;
    for (std::int32_t i = 100; i <= 176; ++i) signs.push_back(cartello(50 * i));
    {
        Reading r(short_line(signs), train({stazione(1000, 12, 600)}));
        EXPECT_EQ(r.s.last_error, 0);
        EXPECT_EQ(r.entry(4).name, "(testo)");
        EXPECT_EQ(r.entry(1).name, "STAZIONE");
    }
    {
        Reading r(short_line(signs), train({stazione(1000, 12, 600), stazione(3000, 12, 600), segnale(4000)}));
        EXPECT_EQ(r.s.last_error, 10);
        EXPECT_EQ(r.entry(2).position, 3000);  // stored before the count is checked
        EXPECT_EQ(r.at(81).kind, kEmpty);      // nothing read after it
        EXPECT_FALSE(r.train_file_left());
    }
}

// --- Faults ------------------------------------------------------------------

struct FaultCase {
    const char* name;
    std::string line_text;
    std::string train_text;
    std::int32_t number;
    std::int32_t position;
    bool end_processing;  // the pending speed of the first line reached the cells
};

// The train lines after a first "velocita, 0, 100" line, which writes a cell
// only when the end processing runs.
std::string after_speed(const std::vector<std::string>& body) {
    std::vector<std::string> lines{velocita(0, 100)};
    lines.insert(lines.end(), body.begin(), body.end());
    return train(lines);
}

TEST(TrainReading, OneFixturePerFault) {
    // A sign beyond the cells ends the line reading with error 15 at 9950 m;
    // later faults that do not set a position leave that one.
    const std::string far_sign = cartello(9950);
    std::vector<std::string> signs;
    for (std::int32_t i = 100; i <= 176; ++i) signs.push_back(cartello(50 * i));
    signs.push_back(far_sign);
    const std::string line = short_line();

    const std::vector<FaultCase> cases{
        {"15 speed", line, after_speed({velocita(9950, 50)}), 15, 9950, true},
        {"15 adhesion", line, after_speed({aderenza(9950, 50)}), 15, 9950, true},
        {"15 signal", line, after_speed({segnale(9950)}), 15, 9950, true},
        {"15 slowdown", line, after_speed({rallentamento(9950, 50)}), 15, 9950, true},
        {"15 code drop", line, after_speed({abbattimento(9950, 1)}), 15, 9950, true},
        {"15 station needs 800 m of room", line, after_speed({stazione(9250, 12, 600)}), 15, 9250, true},
        {"16 signal cell taken", line, after_speed({segnale(1000), segnale(1000)}), 16, 1000, false},
        {"17 warning cell taken", line, after_speed({segnale(1800), rallentamento(3000, 500)}), 17, 3000, false},
        {"18 start cell taken", line, after_speed({segnale(3000), rallentamento(3000, 500)}), 18, 3000, false},
        {"19 end cell taken", line, after_speed({segnale(3500), rallentamento(3000, 500)}), 19, 3000, false},
        {"20 cell before the warning taken", line, after_speed({segnale(1700), rallentamento(3000, 500, 1)}), 20, 3000,
         false},
        {"7 code-drop cell taken", line, after_speed({segnale(1000), abbattimento(1050, 1)}), 7, 1050, false},
        {"8 station off the 50 m marks", line, after_speed({stazione(1025, 12, 600)}), 8, 1025, false},
        {"9 station length 650", line, after_speed({stazione(1000, 12, 650)}), 9, 1000, false},
        {"22 stations closer than 350 m", line, after_speed({stazione(1000, 12, 600), stazione(1600, 12, 600)}), 22,
         1600, false},
        {"24 station ending too near the start", short_line({far_sign}), after_speed({stazione(0, 12, 200)}), 24, 9950,
         false},
        {"10 no entry left", short_line(signs), after_speed({stazione(1000, 12, 600), stazione(3000, 12, 600)}), 10,
         9950, false},
        {"2 progressive off the 50 m marks",
         crlf({"[generale]", "lunghezza percorso,  3000", "progressiva chilometrica uno,  1025,  0,  0", "[linea]",
               "[fine]"}),
         after_speed({}), 2, 0, true},
        {"25 speed above 1277 km/h", line, after_speed({velocita(0, 1278), velocita(200, 50)}), 25, 0, false},
        {"25 file ends inside a station line", line, crlf({"[generale]", velocita(0, 100), "stazione,  1000,  12"}), 25,
         0, false},
        {"25 value too large for a station byte", line, after_speed({stazione(1000, 256, 600)}), 25, 0, false},
        // Error 15 left by the line reading: the first signal or slowdown line
        // ends the train reading, with that line's position.
        {"15 from the line ends at the first signal", short_line({far_sign}),
         after_speed({segnale(1000), segnale(2000)}), 15, 1000, false},
        {"15 from the line ends at the first slowdown", short_line({far_sign}), after_speed({rallentamento(2000, 100)}),
         15, 2000, false},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        Reading r(c.line_text, c.train_text);
        EXPECT_EQ(r.s.last_error, c.number);
        EXPECT_EQ(r.s.error_position, c.position);
        ASSERT_FALSE(r.s.faults.empty());
        EXPECT_EQ(r.s.faults.back().number, c.number);
        EXPECT_EQ(r.at(0).speed_limit, c.end_processing ? 20 : 0);
        EXPECT_FALSE(r.train_file_left());
    }
}

TEST(TrainReading, LineFaultEndsTheReadingAtTheFirstMarkerLine) {
    // The signal of the ending line is placed; nothing after it is read, while
    // the station before it was read normally.
    Reading r(short_line({cartello(9950)}),
              train({stazione(1000, 12, 600), segnale(2000), segnale(3000), velocita(0, 100)}));
    EXPECT_EQ(r.s.last_error, 15);
    EXPECT_EQ(r.s.error_position, 2000);
    EXPECT_EQ(r.entry(1).end, 1300);
    EXPECT_EQ(r.at(41).kind, kSignal);
    EXPECT_EQ(r.at(61).kind, kEmpty);
}

TEST(TrainReading, ObjectsOutsideTheCellsAreRefused) {
    struct Case {
        const char* name;
        std::vector<std::string> body;
        std::int32_t number;
        std::int32_t position;
    };
    const std::vector<Case> cases{
        {"negative code drop", {abbattimento(-50, 1)}, 15, -50},
        {"negative signal", {segnale(-100)}, 15, -100},
        {"negative slowdown", {rallentamento(-100, 50)}, 15, -100},
        {"signal below 325 m: its advance cells would fall below 0", {segnale(324)}, 15, 324},
        {"signal at 325 m: cell 8, last advance cell 0", {segnale(325)}, 0, 0},
        {"signal at the room limit", {segnale(9900)}, 0, 0},
        {"slowdown ending on the last cell", {rallentamento(9900, 50)}, 0, 0},
        {"slowdown ending past the last cell", {rallentamento(9900, 100)}, 15, 9900},
        {"station whose end marker is the last cell", {stazione(9200, 12, 1700)}, 0, 0},
        {"station whose end marker lies past the last cell", {stazione(9200, 12, 1800)}, 15, 9200},
        {"type 7 station ending on cell 199", {stazione(9200, 7, 800)}, 0, 0},
        {"type 7 station ending past the last cell", {stazione(9200, 7, 900)}, 15, 9200},
        {"type 27 station needs no marker room", {stazione(9200, 27, 1800)}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reading r(short_line(), train(c.body));
        EXPECT_EQ(r.s.last_error, c.number);
        EXPECT_EQ(r.s.error_position, c.position);
        EXPECT_FALSE(r.train_file_left());
    }
    Reading at_325(short_line(), train({segnale(325)}));
    EXPECT_EQ(at_325.at(8).kind, kSignal);
    EXPECT_EQ(at_325.at(0).approach_marker, 34);
    Reading last(short_line(), train({stazione(9200, 12, 1700)}));
    EXPECT_EQ(last.at(kU).kind, kStationEnd);
    EXPECT_EQ(last.at(kU - 4).approach_marker, 84);
}

// --- The end of the file ------------------------------------------------------

TEST(TrainReading, LastKeywordWithoutValuesIsNotInterpreted) {
    for (const char* last : {"velocita", "aderenza", "stazione", "segnale", "rallentamento", "abbattimento", "sabbia",
                             "orologio", "numero vetture"}) {
        SCOPED_TRACE(last);
        for (const bool line_end : {true, false}) {
            std::string text = crlf({"[generale]", velocita(0, 100)}) + last;
            if (line_end) text += "\r\n";
            Reading r(short_line(), text);
            EXPECT_EQ(r.s.last_error, 0);
            EXPECT_EQ(r.at(kU - 3).speed_limit, 20);
            EXPECT_FALSE(r.train_file_left());
        }
    }
}

TEST(TrainReading, NothingIsReadWithoutTheGeneralHeader) {
    Reading r(short_line(), crlf({"sabbia,  5", velocita(0, 100), velocita(500, 50), "[fine]"}));
    EXPECT_EQ(r.s.last_error, 0);
    EXPECT_EQ(r.entry(86).attribute_7, 0);
    expect_ranges(r.s, &Cell::speed_limit, {{0, kU, 0}}, "velocita_limite");
    EXPECT_FALSE(r.train_file_left());
}

TEST(TrainReading, DashFieldsSkipTheFieldAfterThem) {
    struct Case {
        const char* line;
        std::int16_t sabbia;
    };
    for (const Case& c : std::vector<Case>{{"sabbia,  5", 5},
                                           {"-sabbia,  5", 0},           // the keyword field itself has a dash
                                           {"-,  sabbia,  5", 5},        // one dash field skipped
                                           {"-,  -sabbia,  5", 0},       // two in a row: the third field is read
                                           {"-,  -,  -sabbia,  5", 5}})  // the third dash field is interpreted
    {
        SCOPED_TRACE(c.line);
        Reading r(short_line(), train({c.line}));
        EXPECT_EQ(r.s.last_error, 0);
        EXPECT_EQ(r.entry(86).attribute_7, c.sabbia);
    }
}

TEST(TrainReading, KeywordsIgnoreLetterCaseAndNeedBothWords) {
    Reading r(short_line(), train({"NUMERO VETTURE,  7", "Percentuale MASSA Frenata,  95", "massa,  1", "SaBbia,  12",
                                   "OROLOGIO,  23 59  58"}));
    EXPECT_EQ(r.s.last_error, 0);
    EXPECT_EQ(r.entry(84).position, 7);
    EXPECT_EQ(r.entry(84).start, 95);
    EXPECT_EQ(r.entry(86).attribute_7, 12);
    EXPECT_EQ(r.entry(86).attribute_9, 23);
    EXPECT_EQ(r.entry(86).attribute_10, 59);
    EXPECT_EQ(r.entry(86).attribute_11, 58);
}

// --- Files left after each ending -----------------------------------------------

TEST(TrainReading, TrainFileIsReadOnlyWhenTheLineReadingGoesOn) {
    struct Case {
        const char* name;
        std::optional<std::string> line;
        std::int32_t number;
        bool train_read;
        bool train_left;
    };
    const std::vector<Case> cases{
        {"normal end", short_line(), 0, true, false},
        {"line fault 15: the train is still read", short_line({cartello(9950)}), 15, true, false},
        {"line fault 6: the train is not read", short_line({cartello(1000), cartello(1000)}), 6, false, true},
        {"no line file (101)", std::nullopt, 101, false, true},
        {"no general section (102)", crlf({"lunghezza percorso,  3000"}), 102, false, true},
        {"route too long (1)", crlf({"[generale]", "lunghezza percorso,  1000001", "[linea]"}), 1, false, true},
        {"line run-time failure (25) deletes both", crlf({"[generale]", "lunghezza percorso,  3x", "[linea]"}), 25,
         false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reading r(c.line, train({"sabbia,  5"}));
        EXPECT_EQ(r.s.last_error, c.number);
        EXPECT_EQ(r.train_file_left(), c.train_left);
        EXPECT_EQ(r.entry(86).attribute_7, c.train_read ? 5 : 0);
    }
}

}  // namespace
}  // namespace scenariogen
