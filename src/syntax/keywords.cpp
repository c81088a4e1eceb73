#include "syntax/keywords.h"

#include <algorithm>
#include <array>
#include <limits>

namespace scenariogen::syntax {

namespace {

constexpr std::int64_t kMax32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMin32 = std::numeric_limits<std::int32_t>::min();

constexpr ValueShape position(std::string_view name = "position",
                              std::string_view meaning = "metres from the start of the route") {
    return {name, Storage::kInt32, 0, kMax32, "m", false, meaning};
}
constexpr ValueShape plain(std::string_view name, std::int64_t low, std::int64_t high, std::string_view unit,
                           std::string_view meaning) {
    return {name, Storage::kInt32, low, high, unit, false, meaning};
}
constexpr ValueShape stored(std::string_view name, Storage storage, std::int64_t low, std::int64_t high,
                            std::string_view unit, std::string_view meaning) {
    return {name, storage, low, high, unit, false, meaning};
}
constexpr ValueShape text(std::string_view name, std::string_view meaning) {
    return {name, Storage::kText, 0, 0, "", false, meaning};
}
constexpr ValueShape speed(std::string_view name, bool right, std::string_view meaning) {
    return {name, Storage::kInt32, 0, right ? 95 : 1637, "km/h", right, meaning};
}

constexpr std::array kLengthValues{plain("route length", 0, 1000000, "m",
                                         "the length of the line, 0 to 1000000; the route's cells run 7000 m further")};
constexpr std::array kProgressiveValues{
    plain("start", 0, kMax32, "m", "the route position from which this kilometre count applies; a multiple of 50"),
    plain("reference", kMin32, kMax32, "m",
          "the kilometre value the count would have at route position 0, in metres; a multiple of 50"),
    plain("sense", 0, 1, "",
          "0: kilometres rise along the route (value = reference + position); 1: they fall (reference - position)")};
constexpr std::array kBackgroundValues{
    plain("value", kMin32, kMax32, "", "a setting of the scenario's background, stored as given for the simulator")};
constexpr std::array kRepetitionValues{
    plain("first position", 0, kMax32, "m", "where cab signalling begins; a multiple of 50"),
    plain("second position", 0, kMax32, "m", "where it ends; a multiple of 50; 0: the line has no cab signalling")};
constexpr std::array kGradientValues{
    position("position", "where the gradient begins; it holds up to the next gradient line"),
    stored("gradient", Storage::kGradient, -100, 155, "\u2030",
           "per mille, rising positive: -100 to 155 (stored as gradient + 100 in one byte)")};
constexpr std::array kCurveValues{
    position("start", "where the curve begins; the curve turns the metres after it"),
    plain("length", 1, kMax32, "m", "how long the curve is along the track (not where it ends), 1 at least")};
constexpr std::array kMountainValues{
    position("start", "where the mountain stretch begins"),
    position("end", "where it ends; it marks the cells from start / 50 to end / 50 - 1"),
    plain("kind", 0, 265, "",
          "the kind of stretch, 0 to 10, for the simulator; 10 + kind (up to 265) adds a marker on every fourth cell")};
constexpr std::array kSpeedBoardValues{
    position("position", "where the board stands"),
    speed("left speed A", false, "the speed the left-hand board shows for trains of rank A (the slowest rank)"),
    speed("left speed B", false, "the same for rank B"),
    speed("left speed C", false, "the same for rank C; the line limit the board announces is usually the highest"),
    plain("left stripes", 0, 3276, "",
          "the stripes on the left-hand board, 0 to 9; the run's own line counts them down 2, 1, 0 before a lower "
          "limit"),
    speed("right speed A", true, "the right-hand board, 0 to 95 in steps of 5; empty reads 0"),
    speed("right speed B", true, "the same for rank B; empty reads 0"),
    speed("right speed C", true, "the same for rank C; empty reads 0"),
    plain("right stripes", 0, 9, "", "the stripes on the right-hand board, 0 to 9"),
};
constexpr std::array kSignValues{
    position("position", "where the sign board stands"),
    text("sign text",
         "the rest of the line: one to three lines in parentheses, without commas: (   P.L.  )(km 0+662)")};

constexpr std::array kBrakedMassValues{
    plain("braked-mass percentage", 0, kMax32, "%",
          "\u03bb, the train's braking power against its mass: about 50 to 100 for freight, 100 to 160 for "
          "passenger trains; check takes the braking rate as \u03bb \u00d7 0.00694 m/s\u00b2")};
constexpr std::array kCoachesValues{plain("number of coaches", 1, kMax32, "", "the coaches of the train, 1 at least")};
constexpr std::array kSpeedValues{
    position("position", "where the limit begins; it holds up to the next 'velocita' line; the list begins at 0"),
    stored("speed limit", Storage::kSpeedFifths, 0, 1275, "km/h",
           "the line limit for this train, 0 to 1275 in steps of 5 (stored as speed / 5 in one byte)")};
constexpr std::array kAdhesionValues{
    position("position", "where the adhesion begins; it holds up to the next 'aderenza' line; the list begins at 0"),
    stored("adhesion", Storage::kLow8, 0, 255, "",
           "the grip between wheel and rail, 0 to 255, for the simulator; the generation run uses 100")};
constexpr std::array kClockValues{
    stored("hour", Storage::kInt16, 0, 23, "h",
           "the scenario clock at its start, 0 to 23; blanks, not a comma, after it"),
    stored("minute", Storage::kInt16, 0, 59, "min", "0 to 59; blanks, not a comma, after it"),
    stored("second", Storage::kInt16, 0, 59, "s", "0 to 59")};
constexpr std::array kSandValues{stored("sand value", Storage::kInt16, -32768, 32767, "",
                                        "the train's sand, -32768 to 32767, for the simulator; the generation run uses "
                                        "300")};
constexpr std::array kSignalValues{
    position("position",
             "where the signal stands, 325 at least: its advance markers lie 100, 200, 300 and 400 m before it"),
    plain("sx", 0, 3, "",
          "the code of the signal's left side (sinistra), 0 to 3; the run's own train uses 1 for the signals 1200 to "
          "1500 m before a station's entry signal and 2 for the entry signals, 700 to 1300 m before a station"),
    plain("s1", 0, 3276, "", "the left digit of the signal's first value (stored as s1 \u00d7 10 + d1)"),
    plain("s2", 0, 3276, "", "the left digit of its second value (s2 \u00d7 10 + d2)"),
    plain("s3", 0, 3276, "", "the left digit of its third value (s3 \u00d7 10 + d3)"),
    plain("rapp", 0, 3276, "", "stored as the tens of the fourth value, rapp \u00d7 10 + sx \u00d7 3 + dx"),
    plain("dx", 0, 2, "", "the code of the right side (destra), 0 to 2; sx \u00d7 3 + dx at most 9"),
    plain("d1", 0, 9, "", "the right digit of the first value, 0 to 9"),
    plain("d2", 0, 9, "", "the right digit of the second value, 0 to 9"),
    plain("d3", 0, 9, "", "the right digit of the third value, 0 to 9"),
    plain("tempo", 0, 255, "s", "a time value, 0 to 255, kept only when sx is 2; 1 to 100 is raised to 101"),
};
constexpr std::array kSlowdownValues{
    position("position", "where the slowdown starts; its warning point stands 1200 m before (for a start past 1500 m)"),
    stored("speed", Storage::kLow16, 0, 32767, "km/h",
           "the speed to keep over the slowdown; below 110 it gets code-drop points every 400 m"),
    plain("length", 1, kMax32, "m",
          "how long the slowdown is; its end is at position + length, in another cell than its start"),
    stored("f_tt", Storage::kLow16, -32768, 32767, "",
           "a value carried into the start and end cells (their third value), for the simulator"),
    plain("f_ta", kMin32, kMax32, "",
          "not 0: the four cells before the warning point are marked too (numbered 1 to 4)"),
    stored("d_v", Storage::kLow16, -32768, 32767, "",
           "a value carried into the start, end and warning cells (their second value) when not 0, for the simulator"),
};
constexpr std::array kCodeDropValues{
    position("position", "where the code-drop point stands: it goes to the cell that ends there"),
    stored("value", Storage::kLow16, 0, 32767, "",
           "1 to 32767, carried into the cell for the simulator (the compiler's own points carry 180); 0: a point "
           "without a value")};
constexpr std::array kStationValues{
    position("position", "where the station stands, a multiple of 50; stations go in increasing order"),
    stored("type", Storage::kByte, 0, 255, "",
           "0 to 255: 5 and 6 an area from position - length to position + 150, 7 and 8 position \u00b1 length, 25 "
           "and above no markers (the run's own halt is 27), any other position \u00b1 length / 2"),
    plain("length", 100, kMax32, "m", "the length of the station's area, a multiple of 100"),
    stored("attribute 5", Storage::kByte, 0, 255, "", "0 to 255, carried to the simulator unchanged"),
    stored("attribute 15", Storage::kByte, 0, 255, "",
           "0 to 255, carried to the simulator; stored as 0 at the first station and below 600 m of length"),
    stored("attribute 14", Storage::kByte, 0, 255, "",
           "0 to 255; not 0: the area ends 50 m later; stored as 0 at the first station and for types 5 to 8"),
    stored("attribute 7", Storage::kInt16, -32768, 32767, "", "-32768 to 32767, carried to the simulator unchanged"),
    stored("attribute 8", Storage::kInt16, -32768, 32767, "", "-32768 to 32767, carried to the simulator unchanged"),
    stored("attribute 12", Storage::kByte, 0, 255, "", "0 to 255, carried to the simulator unchanged"),
    stored("attribute 9", Storage::kInt16, -32768, 32767, "", "-32768 to 32767, carried to the simulator unchanged"),
    stored("attribute 10", Storage::kInt16, -32768, 32767, "", "-32768 to 32767, carried to the simulator unchanged"),
    stored("attribute 11", Storage::kInt16, -32768, 32767, "", "-32768 to 32767, carried to the simulator unchanged"),
    stored("stop", Storage::kByte, 0, 255, "s",
           "how long the train stands, 0 to 255; 0 at an intermediate station: the train passes it"),
    plain("hour", 0, 23, "h", "the station's time: its departure, at the terminus its arrival; 0 to 23"),
    plain("minute", 0, 59, "min", "0 to 59"),
    plain("second", 0, 59, "s", "0 to 59"),
    text("name", "the rest of the line, blanks before it skipped; not empty"),
};

bool both(std::string_view f, std::string_view a, std::string_view b) { return contains(f, a) && contains(f, b); }
bool both_any_case(std::string_view f, std::string_view a, std::string_view b) {
    return contains_any_case(f, a) && contains_any_case(f, b);
}

// In the order of the enumeration.
const std::array<KeywordShape, 23> kShapes{{
    {Keyword::kLength, Section::kGeneral, "lunghezza percorso", "contains 'percorso' and 'lunghezza'", false,
     [](std::string_view f) { return both_any_case(f, "percorso", "lunghezza"); }, kLengthValues, "The route length.",
     false},
    {Keyword::kProgressiveThree, Section::kGeneral, "progressiva chilometrica tre",
     "contains 'tre' and 'progressiva' in lower case", true,
     [](std::string_view f) { return both(f, "tre", "progressiva"); }, kProgressiveValues,
     "The third kilometric progressive: the line kilometres from its start on. All zeros: not used.", false},
    {Keyword::kProgressiveTwo, Section::kGeneral, "progressiva chilometrica due",
     "contains 'due' and 'progressiva' in lower case", true,
     [](std::string_view f) { return both(f, "due", "progressiva"); }, kProgressiveValues,
     "The second kilometric progressive: the line kilometres from its start on. All zeros: not used.", false},
    {Keyword::kProgressiveOne, Section::kGeneral, "progressiva chilometrica uno",
     "contains 'uno' and 'progressiva' in lower case", true,
     [](std::string_view f) { return both(f, "uno", "progressiva"); }, kProgressiveValues,
     "The first kilometric progressive: the line kilometres from its start on. All zeros: not used.", false},
    {Keyword::kBackgroundOne, Section::kGeneral, "sfondo uno", "contains 'sfondo' and 'uno' in lower case", true,
     [](std::string_view f) { return both(f, "sfondo", "uno"); }, kBackgroundValues, "The first background setting.",
     false},
    {Keyword::kBackgroundTwo, Section::kGeneral, "sfondo due", "contains 'sfondo' and 'due' in lower case", true,
     [](std::string_view f) { return both(f, "sfondo", "due"); }, kBackgroundValues, "The second background setting.",
     false},
    {Keyword::kBackgroundThree, Section::kGeneral, "sfondo tre", "contains 'sfondo' and 'tre' in lower case", true,
     [](std::string_view f) { return both(f, "sfondo", "tre"); }, kBackgroundValues, "The third background setting.",
     false},
    {Keyword::kSignalRepetition, Section::kGeneral, "ripetizione segnali 4 codici",
     "contains 'segnali' and 'ripetizione' in lower case", true,
     [](std::string_view f) { return both(f, "segnali", "ripetizione"); }, kRepetitionValues,
     "Cab signalling with the number of codes the keyword names, 4 or 9.", false},
    {Keyword::kGradient, Section::kObjects, "pendenza", "contains 'pendenza'", false,
     [](std::string_view f) { return contains_any_case(f, "pendenza"); }, kGradientValues,
     "A gradient, in force from its position to the next gradient line; the lines go in increasing order.", true},
    {Keyword::kCurve, Section::kObjects, "curva", "contains 'curva'", false,
     [](std::string_view f) { return contains_any_case(f, "curva"); }, kCurveValues,
     "A curve of the plan: curvad turns right, curvas left; the digit is its class, a radius of about 10000, "
     "5000, 2500, 1000, 500 or 333 m for 1 to 6. The curves go in order and do not overlap.",
     true},
    {Keyword::kMountain, Section::kObjects, "montagna", "contains 'montagna'", false,
     [](std::string_view f) { return contains_any_case(f, "montagna"); }, kMountainValues,
     "A mountain stretch; at most 80.", true},
    {Keyword::kSpeedBoard, Section::kObjects, "indicatori_vmax", "contains 'indicatori_v'", false,
     [](std::string_view f) { return contains_any_case(f, "indicatori_v"); }, kSpeedBoardValues,
     "Speed-indicator boards, left and right: the speeds of ranks A, B and C and the stripes. Empty values "
     "read as 0; its cell must be free.",
     true},
    {Keyword::kSign, Section::kObjects, "cartello_indicatore", "contains 'indicat' and 'cartello'", false,
     [](std::string_view f) { return both_any_case(f, "indicat", "cartello"); }, kSignValues,
     "A sign board with its text; at most 80, and its cell must be free.", true},
    {Keyword::kBrakedMass, Section::kTrain, "percentuale massa frenata", "contains 'massa' and 'frenata'", false,
     [](std::string_view f) { return both_any_case(f, "massa", "frenata"); }, kBrakedMassValues,
     "The train's braked-mass percentage.", false},
    {Keyword::kCoaches, Section::kTrain, "numero vetture", "contains 'vetture'", false,
     [](std::string_view f) { return contains_any_case(f, "vetture"); }, kCoachesValues, "The number of coaches.",
     false},
    {Keyword::kSpeed, Section::kTrain, "velocita", "contains 'velocit'", false,
     [](std::string_view f) { return contains_any_case(f, "velocit"); }, kSpeedValues,
     "The line speed limit, in force from its position to the next speed line; the first at 0.", true},
    {Keyword::kAdhesion, Section::kTrain, "aderenza", "contains 'aderenza'", false,
     [](std::string_view f) { return contains_any_case(f, "aderenza"); }, kAdhesionValues,
     "The adhesion, in force from its position to the next adhesion line; the first at 0.", true},
    {Keyword::kClock, Section::kTrain, "orologio", "contains 'orologio'", false,
     [](std::string_view f) { return contains_any_case(f, "orologio"); }, kClockValues,
     "The scenario clock at the start.", false},
    {Keyword::kSand, Section::kTrain, "sabbia", "contains 'sabbia'", false,
     [](std::string_view f) { return contains_any_case(f, "sabbia"); }, kSandValues, "The sand value.", false},
    {Keyword::kSignal, Section::kTrain, "segnale", "contains 'segnale'", false,
     [](std::string_view f) { return contains_any_case(f, "segnale"); }, kSignalValues,
     "A signal, with four advance markers 100 to 400 m before it; its cell must be free.", true},
    {Keyword::kSlowdown, Section::kTrain, "rallentamento", "contains 'rallentamento'", false,
     [](std::string_view f) { return contains_any_case(f, "rallentamento"); }, kSlowdownValues,
     "A temporary slowdown: its warning 1200 m before the start (from 1550 m on), its start and its end "
     "each take a cell, and code-drop points are placed before and along it.",
     true},
    {Keyword::kCodeDrop, Section::kTrain, "abbattimento", "contains 'abbattimento'", false,
     [](std::string_view f) { return contains_any_case(f, "abbattimento"); }, kCodeDropValues,
     "A code-drop point in the cell at the boundary nearest its position; its cell must be free.", true},
    {Keyword::kStation, Section::kTrain, "stazione", "contains 'stazione'", false,
     [](std::string_view f) { return contains_any_case(f, "stazione"); }, kStationValues,
     "A station of the timetable: its area starts at least 350 m after the end of the previous one; "
     "stations and sign texts together at most 78.",
     true},
}};

// The reader's order of tests in each section.
constexpr std::array kGeneralOrder{Keyword::kLength,          Keyword::kProgressiveThree, Keyword::kProgressiveTwo,
                                   Keyword::kProgressiveOne,  Keyword::kBackgroundOne,    Keyword::kBackgroundTwo,
                                   Keyword::kBackgroundThree, Keyword::kSignalRepetition};
constexpr std::array kObjectsOrder{Keyword::kGradient, Keyword::kCurve, Keyword::kMountain, Keyword::kSpeedBoard,
                                   Keyword::kSign};
constexpr std::array kTrainOrder{Keyword::kBrakedMass, Keyword::kCoaches, Keyword::kSpeed,  Keyword::kAdhesion,
                                 Keyword::kClock,      Keyword::kSand,    Keyword::kSignal, Keyword::kSlowdown,
                                 Keyword::kCodeDrop,   Keyword::kStation};

char lower(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 0x20);  // À to Þ, not ×
    return c;
}

bool all_digits(std::string_view s) {
    return !s.empty() && s.size() <= 3 && s.find_first_not_of("0123456789") == std::string_view::npos;
}

int digits_value(std::string_view s) {
    int value = 0;
    for (const char c : s) value = value * 10 + (c - '0');
    return value;
}

// "curvad4", "curvas12": a curve keyword with its side and class.
std::optional<Intent> curve_intent(std::string_view n) {
    if (n.size() < 7 || n.substr(0, 5) != "curva" || (n[5] != 'd' && n[5] != 's') || !all_digits(n.substr(6))) {
        return std::nullopt;
    }
    return Intent{Keyword::kCurve, digits_value(n.substr(6)), n[5] == 's'};
}

// "ripetizione segnali 4 codici" with any number of codes.
std::optional<Intent> repetition_intent(std::string_view n) {
    constexpr std::string_view kHead = "ripetizione segnali ";
    constexpr std::string_view kTail = " codici";
    if (n.size() <= kHead.size() + kTail.size() || n.substr(0, kHead.size()) != kHead ||
        n.substr(n.size() - kTail.size()) != kTail) {
        return std::nullopt;
    }
    const std::string_view count = n.substr(kHead.size(), n.size() - kHead.size() - kTail.size());
    if (!all_digits(count)) return std::nullopt;
    return Intent{Keyword::kSignalRepetition, digits_value(count)};
}

}  // namespace

const KeywordShape& shape(Keyword keyword) { return kShapes[static_cast<std::size_t>(keyword)]; }

std::span<const Keyword> keywords_tested(Section section) {
    switch (section) {
        case Section::kGeneral:
            return kGeneralOrder;
        case Section::kObjects:
            return kObjectsOrder;
        case Section::kTrain:
            return kTrainOrder;
    }
    return {};
}

SourceFile file_of(Section section) { return section == Section::kTrain ? SourceFile::kTrain : SourceFile::kLine; }

std::string normalised(std::string_view field) {
    std::string out;
    bool blank = false;
    for (const char c : field) {
        if (c == ' ' || c == '\t') {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += lower(c);
    }
    return out;
}

std::optional<Intent> intended_keyword(std::string_view field) {
    if (field.size() < 5) return std::nullopt;  // "curva" and "sabbia" are the shortest
    const std::string n = normalised(field);
    if (auto curve = curve_intent(n)) return curve;
    if (auto repetition = repetition_intent(n)) return repetition;
    if (n == "velocit\xE0") return Intent{Keyword::kSpeed};
    for (const KeywordShape& s : kShapes) {
        if (s.keyword != Keyword::kCurve && s.keyword != Keyword::kSignalRepetition && n == s.spelling) {
            return Intent{s.keyword};
        }
    }
    return std::nullopt;
}

namespace {
std::vector<std::string> all_spellings(SourceFile file) {
    std::vector<std::string> all;
    for (const KeywordShape& s : kShapes) {
        if (file_of(s.section) != file) continue;
        if (s.keyword == Keyword::kCurve) {
            for (const char side : {'d', 's'}) {
                for (char digit = '1'; digit <= '6'; ++digit) all.push_back(std::string("curva") + side + digit);
            }
        } else if (s.keyword == Keyword::kSignalRepetition) {
            all.emplace_back("ripetizione segnali 4 codici");
            all.emplace_back("ripetizione segnali 9 codici");
        } else {
            all.emplace_back(s.spelling);
        }
    }
    return all;
}
}  // namespace

const std::vector<std::string>& spellings(SourceFile file) {
    static const std::vector<std::string> kLine = all_spellings(SourceFile::kLine);
    static const std::vector<std::string> kTrain = all_spellings(SourceFile::kTrain);
    return file == SourceFile::kLine ? kLine : kTrain;
}

std::string value_list(const KeywordShape& s) {
    std::string list;
    for (const ValueShape& v : s.values) {
        if (!list.empty()) list += ", ";
        list += v.name;
    }
    return list;
}

}  // namespace scenariogen::syntax

namespace scenariogen::syntax {

bool contains(std::string_view field, std::string_view text) { return field.find(text) != std::string_view::npos; }

bool contains_any_case(std::string_view field, std::string_view text) {
    const auto lower_ascii = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::search(field.begin(), field.end(), text.begin(), text.end(),
                       [&](char a, char b) { return lower_ascii(a) == b; }) != field.end();
}

int curve_class(std::string_view field) {
    for (char digit = '1'; digit <= '6'; ++digit) {
        if (field.find(digit) != std::string_view::npos) return digit - '0';
    }
    return 0;
}

bool curve_turns_left(std::string_view field) { return contains_any_case(field, "s"); }

int repetition_codes(std::string_view field) {
    if (contains(field, "4")) return 4;
    if (contains(field, "9")) return 9;
    return 0;
}

const std::vector<std::string>& section_headers(SourceFile file) {
    static const std::vector<std::string> kLine{"[generale]", "[curve]",       "[pendenze]", "[montagne]",
                                                "[cartelli]", "[indicazioni]", "[fine]"};
    static const std::vector<std::string> kTrain{"[generale]",      "[aderenze]", "[vel_limite]", "[stazioni]",
                                                 "[rallentamenti]", "[segnali]",  "[codici]",     "[fine]"};
    return file == SourceFile::kLine ? kLine : kTrain;
}

}  // namespace scenariogen::syntax
