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

constexpr std::array kLengthValues{
    plain("route length", 0, 1000000, "m", "0 to 1000000; the route has one cell per 50 m of length + 7000 m")};
constexpr std::array kProgressiveValues{
    plain("start", 0, kMax32, "m", "the route position from which it applies; a multiple of 50"),
    plain("reference", kMin32, kMax32, "m", "the line kilometre at route position 0, in metres; a multiple of 50"),
    plain("sense", 0, 1, "", "0 rising (reference + position), 1 falling (reference - position)")};
constexpr std::array kBackgroundValues{plain("value", kMin32, kMax32, "", "stored as given")};
constexpr std::array kRepetitionValues{
    plain("first position", 0, kMax32, "m", "a multiple of 50"),
    plain("second position", 0, kMax32, "m", "a multiple of 50; 0 means no cab signalling")};
constexpr std::array kGradientValues{
    position(), stored("gradient", Storage::kGradient, -100, 155, "\u2030", "-100 to 155; rising positive")};
constexpr std::array kCurveValues{position("start", "where the curve begins, metres from the start of the route"),
                                  plain("length", 1, kMax32, "m", "its extent along the track")};
constexpr std::array kMountainValues{
    position("start", "where the stretch begins"), position("end", "where it ends"),
    plain("kind", 0, 265, "", "above 10: kind - 10 with a marker on every fourth cell")};
constexpr std::array kSpeedBoardValues{
    position(),
    speed("left speed A", false, "the left-hand board's speed for rank A"),
    speed("left speed B", false, "the left-hand board's speed for rank B"),
    speed("left speed C", false, "the left-hand board's speed for rank C"),
    plain("left stripes", 0, 3276, "", "the left-hand board's number of stripes"),
    speed("right speed A", true, "the right-hand board's speed for rank A; empty reads 0"),
    speed("right speed B", true, "the right-hand board's speed for rank B; empty reads 0"),
    speed("right speed C", true, "the right-hand board's speed for rank C; empty reads 0"),
    plain("right stripes", 0, 9, "", "the right-hand board's number of stripes"),
};
constexpr std::array kSignValues{position(), text("sign text", "one to three lines, each in parentheses")};

constexpr std::array kBrakedMassValues{
    plain("braked-mass percentage", 0, kMax32, "%", "the train's braked mass, in percent of its mass")};
constexpr std::array kCoachesValues{plain("number of coaches", 1, kMax32, "", "the coaches of the train")};
constexpr std::array kSpeedValues{
    position(), stored("speed limit", Storage::kSpeedFifths, 0, 1275, "km/h", "stored as speed / 5 in one byte")};
constexpr std::array kAdhesionValues{position(), stored("adhesion", Storage::kLow8, 0, 255, "", "the adhesion value")};
constexpr std::array kClockValues{
    stored("hour", Storage::kInt16, 0, 23, "h", "separated from the next by blanks, not a comma"),
    stored("minute", Storage::kInt16, 0, 59, "min", "separated from the next by blanks"),
    stored("second", Storage::kInt16, 0, 59, "s", "")};
constexpr std::array kSandValues{stored("sand value", Storage::kInt16, -32768, 32767, "", "stored as given")};
constexpr std::array kSignalValues{
    position("position", "325 m or more: its four advance markers lie 100 to 400 m before it"),
    plain("sx", 0, 3, "", "the left-hand code"),
    plain("s1", 0, 3276, "", "paired with d1 as s1 x 10 + d1"),
    plain("s2", 0, 3276, "", "paired with d2 as s2 x 10 + d2"),
    plain("s3", 0, 3276, "", "paired with d3 as s3 x 10 + d3"),
    plain("rapp", 0, 3276, "", "x 10, added to sx x 3 + dx"),
    plain("dx", 0, 2, "", "the right-hand code"),
    plain("d1", 0, 9, "", "paired with s1"),
    plain("d2", 0, 9, "", "paired with s2"),
    plain("d3", 0, 9, "", "paired with s3"),
    plain("tempo", 0, 255, "s", "kept only when sx is 2; 1 to 100 is raised to 101"),
};
constexpr std::array kSlowdownValues{
    position("position", "where the slowdown starts"),
    stored("speed", Storage::kLow16, 0, 32767, "km/h", "below 110: code-drop points along it"),
    plain("length", 1, kMax32, "m", "its extent"),
    stored("f_tt", Storage::kLow16, -32768, 32767, "", "carried into its cells"),
    plain("f_ta", kMin32, kMax32, "", "not 0: four more cells before the warning"),
    stored("d_v", Storage::kLow16, -32768, 32767, "", "carried into its cells"),
};
constexpr std::array kCodeDropValues{
    position(), stored("value", Storage::kLow16, 0, 32767, "", "0 or less: a point without a value")};
constexpr std::array kStationValues{
    position("position", "a multiple of 50"),
    stored("type", Storage::kByte, 0, 255, "", "5-6 and 7-8 shape the area differently; below 25 an end marker"),
    plain("length", 100, kMax32, "m", "the station area; a multiple of 100"),
    stored("attribute 5", Storage::kByte, 0, 255, "", "stored as given"),
    stored("attribute 15", Storage::kByte, 0, 255, "", "stored as 0 below 600 m of length and at the first station"),
    stored("attribute 14", Storage::kByte, 0, 255, "", "not 0 extends the area 50 m at its end"),
    stored("attribute 7", Storage::kInt16, -32768, 32767, "", "stored as given"),
    stored("attribute 8", Storage::kInt16, -32768, 32767, "", "stored as given"),
    stored("attribute 12", Storage::kByte, 0, 255, "", "stored as given"),
    stored("attribute 9", Storage::kInt16, -32768, 32767, "", "stored as given"),
    stored("attribute 10", Storage::kInt16, -32768, 32767, "", "stored as given"),
    stored("attribute 11", Storage::kInt16, -32768, 32767, "", "stored as given"),
    stored("stop", Storage::kByte, 0, 255, "s", "the stop time"),
    plain("hour", 0, 23, "h", "the timetable time: the departure, at the last station the arrival"),
    plain("minute", 0, 59, "min", ""),
    plain("second", 0, 59, "s", ""),
    text("name", "the rest of the line"),
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
