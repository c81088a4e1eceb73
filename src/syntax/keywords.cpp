#include "syntax/keywords.h"

#include <algorithm>
#include <array>
#include <limits>


namespace scenariogen::syntax {

namespace {

constexpr std::int64_t kMax32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMin32 = std::numeric_limits<std::int32_t>::min();

constexpr ValueShape position(std::string_view name = "position") { return {name, Storage::kInt32, 0, kMax32, "m"}; }
constexpr ValueShape plain(std::string_view name, std::int64_t low = kMin32, std::int64_t high = kMax32,
                           std::string_view unit = "") {
    return {name, Storage::kInt32, low, high, unit};
}
constexpr ValueShape stored(std::string_view name, Storage storage, std::int64_t low, std::int64_t high,
                            std::string_view unit = "") {
    return {name, storage, low, high, unit};
}
constexpr ValueShape text(std::string_view name) { return {name, Storage::kText, 0, 0, ""}; }

constexpr std::array kLengthValues{plain("route length", 0, 1000000, "m")};
constexpr std::array kProgressiveValues{plain("start", 0, kMax32, "m"), plain("reference", kMin32, kMax32, "m"),
                                        plain("sense", 0, 1)};
constexpr std::array kBackgroundValues{plain("value")};
constexpr std::array kRepetitionValues{plain("first position", 0, kMax32, "m"),
                                       plain("second position", 0, kMax32, "m")};
constexpr std::array kGradientValues{position(), stored("gradient", Storage::kGradient, -100, 155, "‰")};
constexpr std::array kCurveValues{position("start"), plain("length", 1, kMax32, "m")};
constexpr std::array kMountainValues{position("start"), position("end"), plain("kind", 0, 265)};
constexpr ValueShape kLeftSpeed{"left speed", Storage::kInt32, 0, 1637, "km/h"};
constexpr ValueShape kRightSpeed{"right speed", Storage::kInt32, 0, 95, "km/h", true};
constexpr std::array kSpeedBoardValues{
    position(),
    ValueShape{"left speed A", kLeftSpeed.storage, kLeftSpeed.low, kLeftSpeed.high, kLeftSpeed.unit},
    ValueShape{"left speed B", kLeftSpeed.storage, kLeftSpeed.low, kLeftSpeed.high, kLeftSpeed.unit},
    ValueShape{"left speed C", kLeftSpeed.storage, kLeftSpeed.low, kLeftSpeed.high, kLeftSpeed.unit},
    plain("left stripes", 0, 3276),
    ValueShape{"right speed A", kRightSpeed.storage, kRightSpeed.low, kRightSpeed.high, kRightSpeed.unit, true},
    ValueShape{"right speed B", kRightSpeed.storage, kRightSpeed.low, kRightSpeed.high, kRightSpeed.unit, true},
    ValueShape{"right speed C", kRightSpeed.storage, kRightSpeed.low, kRightSpeed.high, kRightSpeed.unit, true},
    plain("right stripes", 0, 9),
};
constexpr std::array kSignValues{position(), text("sign text")};

constexpr std::array kBrakedMassValues{plain("braked-mass percentage", 0, kMax32, "%")};
constexpr std::array kCoachesValues{plain("number of coaches", 1, kMax32)};
constexpr std::array kSpeedValues{position(), stored("speed limit", Storage::kSpeedFifths, 0, 1275, "km/h")};
constexpr std::array kAdhesionValues{position(), stored("adhesion", Storage::kLow8, 0, 255)};
constexpr std::array kClockValues{stored("hour", Storage::kInt16, 0, 23), stored("minute", Storage::kInt16, 0, 59),
                                  stored("second", Storage::kInt16, 0, 59)};
constexpr std::array kSandValues{stored("sand value", Storage::kInt16, -32768, 32767)};
constexpr std::array kSignalValues{
    position(),           plain("sx", 0, 3),      plain("s1", 0, 3276),   plain("s2", 0, 3276),
    plain("s3", 0, 3276), plain("rapp", 0, 3276), plain("dx", 0, 2),      plain("d1", 0, 9),
    plain("d2", 0, 9),    plain("d3", 0, 9),      plain("tempo", 0, 255),
};
constexpr std::array kSlowdownValues{
    position(),
    stored("speed", Storage::kLow16, 0, 32767, "km/h"),
    plain("length", 1, kMax32, "m"),
    stored("f_tt", Storage::kLow16, -32768, 32767),
    plain("f_ta"),
    stored("d_v", Storage::kLow16, -32768, 32767),
};
constexpr std::array kCodeDropValues{position(), stored("value", Storage::kLow16, 0, 32767)};
constexpr std::array kStationValues{
    position(),
    stored("type", Storage::kByte, 0, 255),
    plain("length", 100, kMax32, "m"),
    stored("attribute 5", Storage::kByte, 0, 255),
    stored("attribute 15", Storage::kByte, 0, 255),
    stored("attribute 14", Storage::kByte, 0, 255),
    stored("attribute 7", Storage::kInt16, -32768, 32767),
    stored("attribute 8", Storage::kInt16, -32768, 32767),
    stored("attribute 12", Storage::kByte, 0, 255),
    stored("attribute 9", Storage::kInt16, -32768, 32767),
    stored("attribute 10", Storage::kInt16, -32768, 32767),
    stored("attribute 11", Storage::kInt16, -32768, 32767),
    stored("stop", Storage::kByte, 0, 255, "s"),
    plain("hour", 0, 23),
    plain("minute", 0, 59),
    plain("second", 0, 59),
    text("name"),
};

bool both(std::string_view f, std::string_view a, std::string_view b) { return contains(f, a) && contains(f, b); }
bool both_any_case(std::string_view f, std::string_view a, std::string_view b) {
    return contains_any_case(f, a) && contains_any_case(f, b);
}

// In the order of the enumeration.
const std::array<KeywordShape, 23> kShapes{{
    {Keyword::kLength, Section::kGeneral, "lunghezza percorso", "contains 'percorso' and 'lunghezza'", false,
     [](std::string_view f) { return both_any_case(f, "percorso", "lunghezza"); }, kLengthValues},
    {Keyword::kProgressiveThree, Section::kGeneral, "progressiva chilometrica tre",
     "contains 'tre' and 'progressiva' in lower case", true,
     [](std::string_view f) { return both(f, "tre", "progressiva"); }, kProgressiveValues},
    {Keyword::kProgressiveTwo, Section::kGeneral, "progressiva chilometrica due",
     "contains 'due' and 'progressiva' in lower case", true,
     [](std::string_view f) { return both(f, "due", "progressiva"); }, kProgressiveValues},
    {Keyword::kProgressiveOne, Section::kGeneral, "progressiva chilometrica uno",
     "contains 'uno' and 'progressiva' in lower case", true,
     [](std::string_view f) { return both(f, "uno", "progressiva"); }, kProgressiveValues},
    {Keyword::kBackgroundOne, Section::kGeneral, "sfondo uno", "contains 'sfondo' and 'uno' in lower case", true,
     [](std::string_view f) { return both(f, "sfondo", "uno"); }, kBackgroundValues},
    {Keyword::kBackgroundTwo, Section::kGeneral, "sfondo due", "contains 'sfondo' and 'due' in lower case", true,
     [](std::string_view f) { return both(f, "sfondo", "due"); }, kBackgroundValues},
    {Keyword::kBackgroundThree, Section::kGeneral, "sfondo tre", "contains 'sfondo' and 'tre' in lower case", true,
     [](std::string_view f) { return both(f, "sfondo", "tre"); }, kBackgroundValues},
    {Keyword::kSignalRepetition, Section::kGeneral, "ripetizione segnali 4 codici",
     "contains 'segnali' and 'ripetizione' in lower case", true,
     [](std::string_view f) { return both(f, "segnali", "ripetizione"); }, kRepetitionValues},
    {Keyword::kGradient, Section::kObjects, "pendenza", "contains 'pendenza'", false,
     [](std::string_view f) { return contains_any_case(f, "pendenza"); }, kGradientValues},
    {Keyword::kCurve, Section::kObjects, "curva", "contains 'curva'", false,
     [](std::string_view f) { return contains_any_case(f, "curva"); }, kCurveValues},
    {Keyword::kMountain, Section::kObjects, "montagna", "contains 'montagna'", false,
     [](std::string_view f) { return contains_any_case(f, "montagna"); }, kMountainValues},
    {Keyword::kSpeedBoard, Section::kObjects, "indicatori_vmax", "contains 'indicatori_v'", false,
     [](std::string_view f) { return contains_any_case(f, "indicatori_v"); }, kSpeedBoardValues},
    {Keyword::kSign, Section::kObjects, "cartello_indicatore", "contains 'indicat' and 'cartello'", false,
     [](std::string_view f) { return both_any_case(f, "indicat", "cartello"); }, kSignValues},
    {Keyword::kBrakedMass, Section::kTrain, "percentuale massa frenata", "contains 'massa' and 'frenata'", false,
     [](std::string_view f) { return both_any_case(f, "massa", "frenata"); }, kBrakedMassValues},
    {Keyword::kCoaches, Section::kTrain, "numero vetture", "contains 'vetture'", false,
     [](std::string_view f) { return contains_any_case(f, "vetture"); }, kCoachesValues},
    {Keyword::kSpeed, Section::kTrain, "velocita", "contains 'velocit'", false,
     [](std::string_view f) { return contains_any_case(f, "velocit"); }, kSpeedValues},
    {Keyword::kAdhesion, Section::kTrain, "aderenza", "contains 'aderenza'", false,
     [](std::string_view f) { return contains_any_case(f, "aderenza"); }, kAdhesionValues},
    {Keyword::kClock, Section::kTrain, "orologio", "contains 'orologio'", false,
     [](std::string_view f) { return contains_any_case(f, "orologio"); }, kClockValues},
    {Keyword::kSand, Section::kTrain, "sabbia", "contains 'sabbia'", false,
     [](std::string_view f) { return contains_any_case(f, "sabbia"); }, kSandValues},
    {Keyword::kSignal, Section::kTrain, "segnale", "contains 'segnale'", false,
     [](std::string_view f) { return contains_any_case(f, "segnale"); }, kSignalValues},
    {Keyword::kSlowdown, Section::kTrain, "rallentamento", "contains 'rallentamento'", false,
     [](std::string_view f) { return contains_any_case(f, "rallentamento"); }, kSlowdownValues},
    {Keyword::kCodeDrop, Section::kTrain, "abbattimento", "contains 'abbattimento'", false,
     [](std::string_view f) { return contains_any_case(f, "abbattimento"); }, kCodeDropValues},
    {Keyword::kStation, Section::kTrain, "stazione", "contains 'stazione'", false,
     [](std::string_view f) { return contains_any_case(f, "stazione"); }, kStationValues},
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
