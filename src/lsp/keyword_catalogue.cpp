#include "lsp/keyword_catalogue.h"

#include <algorithm>
#include <array>
#include <vector>

namespace scenariogen::lsp {

namespace {

// How the reader recognises a keyword field: it contains `first` and, when
// given, `second`; with `any_case`, letter case is ignored.
struct Recognition {
    std::string_view first;
    std::string_view second;
    bool any_case;
};

bool contains(std::string_view field, std::string_view text, bool any_case) {
    if (text.empty()) return true;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (!any_case) return field.find(text) != std::string_view::npos;
    return std::search(field.begin(), field.end(), text.begin(), text.end(),
                       [&](char a, char b) { return lower(a) == b; }) != field.end();
}

constexpr FieldInfo kPosition{"position", "m", "metres from the start of the route"};

constexpr std::array kLength{
    FieldInfo{"length", "m", "0 to 1000000; the route has one cell per 50 m of length + 7000 m"}};
constexpr std::array kProgressive{
    FieldInfo{"start", "m", "the route position from which it applies; a multiple of 50"},
    FieldInfo{"reference", "m", "the line kilometre at route position 0; a multiple of 50"},
    FieldInfo{"sense", "", "0 rising (reference + position), 1 falling (reference - position)"},
};
constexpr std::array kBackground{FieldInfo{"value", "", "stored as given"}};
constexpr std::array kRepetition{
    FieldInfo{"first", "m", "a multiple of 50"},
    FieldInfo{"second", "m", "a multiple of 50; 0 means no cab signalling"},
};
constexpr std::array kGradient{kPosition, FieldInfo{"gradient", "\u2030", "-100 to 155; rising positive"}};
constexpr std::array kCurve{
    FieldInfo{"start", "m", "where the curve begins"},
    FieldInfo{"length", "m", "its extent along the track"},
};
constexpr std::array kMountain{
    FieldInfo{"start", "m", "where the stretch begins"},
    FieldInfo{"end", "m", "where it ends"},
    FieldInfo{"kind", "", "above 10: kind - 10 with a marker on every fourth cell"},
};
constexpr std::array kSpeedBoards{
    kPosition,
    FieldInfo{"vas", "km/h", "left board, rank A"},
    FieldInfo{"vbs", "km/h", "left board, rank B"},
    FieldInfo{"vcs", "km/h", "left board, rank C"},
    FieldInfo{"strisces", "", "left board, number of stripes"},
    FieldInfo{"vad", "km/h", "right board, rank A"},
    FieldInfo{"vbd", "km/h", "right board, rank B"},
    FieldInfo{"vcd", "km/h", "right board, rank C"},
    FieldInfo{"strisced", "", "right board, number of stripes"},
};
constexpr std::array kSign{kPosition, FieldInfo{"text", "", "up to three lines, each in parentheses", true}};
constexpr std::array kCoaches{FieldInfo{"coaches", "", "the number of coaches"}};
constexpr std::array kBrakedMass{FieldInfo{"braked mass", "%", "the braked-mass percentage"}};
constexpr std::array kSand{FieldInfo{"sand", "", "-32768 to 32767"}};
constexpr std::array kClock{
    FieldInfo{"hours", "h", "separated from the next by blanks, not a comma"},
    FieldInfo{"minutes", "min", "separated from the next by blanks"},
    FieldInfo{"seconds", "s", ""},
};
constexpr std::array kAdhesion{kPosition, FieldInfo{"adhesion", "", "the adhesion value"}};
constexpr std::array kSpeed{kPosition, FieldInfo{"speed", "km/h", "speed / 5 must round to 0 to 255"}};
constexpr std::array kStation{
    FieldInfo{"position", "m", "a multiple of 50"},
    FieldInfo{"type", "", "0 to 255; 5-6 and 7-8 shape the area, below 25 an end marker"},
    FieldInfo{"length", "m", "the station area; a multiple of 100"},
    FieldInfo{"attributo_5", "", "0 to 255, stored as given"},
    FieldInfo{"attributo_15", "", "0 to 255; 0 below 600 m of length and at the first station"},
    FieldInfo{"attributo_14", "", "0 to 255; not 0 extends the area 50 m at its end"},
    FieldInfo{"attributo_7", "", "-32768 to 32767, stored as given"},
    FieldInfo{"attributo_8", "", "-32768 to 32767, stored as given"},
    FieldInfo{"attributo_12", "", "0 to 255, stored as given"},
    FieldInfo{"attributo_9", "", "-32768 to 32767, stored as given"},
    FieldInfo{"attributo_10", "", "-32768 to 32767, stored as given"},
    FieldInfo{"attributo_11", "", "-32768 to 32767, stored as given"},
    FieldInfo{"stop", "s", "0 to 255: the stop time"},
    FieldInfo{"hours", "h", "the timetable time: departure, at the last station arrival"},
    FieldInfo{"minutes", "min", ""},
    FieldInfo{"seconds", "s", ""},
    FieldInfo{"name", "", "the rest of the line", true},
};
constexpr std::array kSlowdown{
    FieldInfo{"position", "m", "where the slowdown starts"},
    FieldInfo{"speed", "km/h", "below 110: code-drop points along it"},
    FieldInfo{"length", "m", "its extent; 0 leaves it without an end"},
    FieldInfo{"f_tt", "", "carried into its cells"},
    FieldInfo{"f_ta", "", "not 0: four more cells before the warning"},
    FieldInfo{"d_v", "", "carried into its cells"},
};
constexpr std::array kSignal{
    FieldInfo{"position", "m", "325 or more: its four advance markers lie 100 to 400 m before it"},
    FieldInfo{"sx", "", "left-hand code"},
    FieldInfo{"s1", "", "paired with d1 as s1 x 10 + d1"},
    FieldInfo{"s2", "", "paired with d2"},
    FieldInfo{"s3", "", "paired with d3"},
    FieldInfo{"rapp", "", "x 10, added to sx x 3 + dx"},
    FieldInfo{"dx", "", "right-hand code"},
    FieldInfo{"d1", "", ""},
    FieldInfo{"d2", "", ""},
    FieldInfo{"d3", "", ""},
    FieldInfo{"tempo", "s", "kept only when sx is 2; 1 to 100 is raised to 101"},
};
constexpr std::array kCodeDrop{kPosition, FieldInfo{"value", "", "0 or less: a point without a value"}};

struct Entry {
    Recognition recognition;
    KeywordInfo info;
};

constexpr KeywordPlace kGeneral = KeywordPlace::kLineGeneral;
constexpr KeywordPlace kObjects = KeywordPlace::kLineObjects;
constexpr KeywordPlace kTrain = KeywordPlace::kTrain;

// In the order the reader tests them.
const std::array<Entry, 23> kEntries{{
    {{"percorso", "lunghezza", true},
     {"lunghezza percorso", kGeneral, false, "The route length.", kLength, "lunghezza percorso,  ${1:length}"}},
    {{"tre", "progressiva", false},
     {"progressiva chilometrica tre", kGeneral, false,
      "The third kilometric progressive: the line kilometres from its start on. All zeros: not used.", kProgressive,
      "progressiva chilometrica tre,  ${1:start},  ${2:reference},  ${3|0,1|}"}},
    {{"due", "progressiva", false},
     {"progressiva chilometrica due", kGeneral, false,
      "The second kilometric progressive: the line kilometres from its start on. All zeros: not used.", kProgressive,
      "progressiva chilometrica due,  ${1:start},  ${2:reference},  ${3|0,1|}"}},
    {{"uno", "progressiva", false},
     {"progressiva chilometrica uno", kGeneral, false,
      "The first kilometric progressive: the line kilometres from its start on. All zeros: not used.", kProgressive,
      "progressiva chilometrica uno,  ${1:start},  ${2:reference},  ${3|0,1|}"}},
    {{"sfondo", "uno", false},
     {"sfondo uno", kGeneral, false, "The first background setting.", kBackground, "sfondo uno,  ${1:value}"}},
    {{"sfondo", "due", false},
     {"sfondo due", kGeneral, false, "The second background setting.", kBackground, "sfondo due,  ${1:value}"}},
    {{"sfondo", "tre", false},
     {"sfondo tre", kGeneral, false, "The third background setting.", kBackground, "sfondo tre,  ${1:value}"}},
    {{"segnali", "ripetizione", false},
     {"ripetizione segnali 4 codici", kGeneral, false,
      "Cab signalling with the number of codes the keyword names, 4 or 9.", kRepetition,
      "ripetizione segnali ${1|4,9|} codici,  ${2:first},  ${3:second}"}},
    {{"pendenza", "", true},
     {"pendenza", kObjects, true,
      "A gradient, in force from its position to the next gradient line; the lines go in increasing order.", kGradient,
      "pendenza,  ${1:position},  ${2:gradient}"}},
    {{"curva", "", true},
     {"curva", kObjects, true,
      "A curve of the plan: curvad turns right, curvas left; the digit is its class, a radius of about 10000, "
      "5000, 2500, 1000, 500 or 333 m for 1 to 6. The curves go in order and do not overlap.",
      kCurve, "curva${1|d,s|}${2|1,2,3,4,5,6|},  ${3:start},  ${4:length}"}},
    {{"montagna", "", true},
     {"montagna", kObjects, true, "A mountain stretch; at most 80.", kMountain,
      "montagna,  ${1:start},  ${2:end},  ${3:kind}"}},
    {{"indicatori_v", "", true},
     {"indicatori_vmax", kObjects, true,
      "Speed-indicator boards, left and right: the speeds of ranks A, B and C and the stripes. Empty values read "
      "as 0; its cell must be free.",
      kSpeedBoards,
      "indicatori_vmax,  ${1:position},  ${2:vas},  ${3:vbs},  ${4:vcs},  ${5:strisces},  ${6:vad},  ${7:vbd},  "
      "${8:vcd},  ${9:strisced}"}},
    {{"cartello", "indicat", true},
     {"cartello_indicatore", kObjects, true, "A sign board with its text; at most 80, and its cell must be free.",
      kSign, "cartello_indicatore,  ${1:position},     (${2:text})"}},
    {{"massa", "frenata", true},
     {"percentuale massa frenata", kTrain, false, "The train's braked-mass percentage.", kBrakedMass,
      "percentuale massa frenata,    ${1:percent}"}},
    {{"vetture", "", true},
     {"numero vetture", kTrain, false, "The number of coaches.", kCoaches, "numero vetture,    ${1:coaches}"}},
    {{"velocit", "", true},
     {"velocita", kTrain, true,
      "The line speed limit, in force from its position to the next speed line; the first at 0.", kSpeed,
      "velocita,  ${1:position},  ${2:speed}"}},
    {{"aderenza", "", true},
     {"aderenza", kTrain, true, "The adhesion, in force from its position to the next adhesion line; the first at 0.",
      kAdhesion, "aderenza,  ${1:position},  ${2:adhesion}"}},
    {{"orologio", "", true},
     {"orologio", kTrain, false, "The scenario clock at the start.", kClock,
      "orologio,    ${1:hours}   ${2:minutes}   ${3:seconds}"}},
    {{"sabbia", "", true}, {"sabbia", kTrain, false, "The sand value.", kSand, "sabbia,    ${1:sand}"}},
    {{"segnale", "", true},
     {"segnale", kTrain, true, "A signal, with four advance markers 100 to 400 m before it; its cell must be free.",
      kSignal,
      "segnale,  ${1:position},  ${2:sx},  ${3:s1},  ${4:s2},  ${5:s3},  ${6:rapp},  ${7:dx},  ${8:d1},  ${9:d2},  "
      "${10:d3},  ${11:tempo}"}},
    {{"rallentamento", "", true},
     {"rallentamento", kTrain, true,
      "A temporary slowdown: its warning 1200 m before the start (from 1550 m on), its start and its end each "
      "take a cell, and code-drop points are placed before and along it.",
      kSlowdown, "rallentamento,  ${1:position},  ${2:speed},  ${3:length},  ${4:f_tt},  ${5:f_ta},  ${6:d_v}"}},
    {{"abbattimento", "", true},
     {"abbattimento", kTrain, true, "A code-drop point in cell round(position / 50); its cell must be free.", kCodeDrop,
      "abbattimento,  ${1:position},  ${2:value}"}},
    {{"stazione", "", true},
     {"stazione", kTrain, true,
      "A station of the timetable: its area starts at least 350 m after the end of the previous one; stations "
      "and sign texts together at most 78.",
      kStation,
      "stazione,  ${1:position},  ${2:type},  ${3:length},  ${4:0},  ${5:0},  ${6:0},  ${7:0},  ${8:0},  ${9:0},  "
      "${10:0},  ${11:0},  ${12:0},  ${13:stop},  ${14:hours},  ${15:minutes},  ${16:seconds},   ${17:NAME}"}},
}};

constexpr std::array<std::string_view, 7> kLineHeaders{"[generale]", "[curve]",       "[pendenze]", "[montagne]",
                                                       "[cartelli]", "[indicazioni]", "[fine]"};
constexpr std::array<std::string_view, 8> kTrainHeaders{"[generale]",      "[aderenze]", "[vel_limite]", "[stazioni]",
                                                        "[rallentamenti]", "[segnali]",  "[codici]",     "[fine]"};

}  // namespace

const KeywordInfo* recognise_keyword(std::string_view field, KeywordPlace place) {
    for (const Entry& entry : kEntries) {
        if (entry.info.place != place) continue;
        const Recognition& r = entry.recognition;
        if (contains(field, r.first, r.any_case) && contains(field, r.second, r.any_case)) return &entry.info;
    }
    return nullptr;
}

std::span<const KeywordInfo> keyword_catalogue() {
    static const std::vector<KeywordInfo> infos = [] {
        std::vector<KeywordInfo> all;
        for (const Entry& entry : kEntries) all.push_back(entry.info);
        return all;
    }();
    return infos;
}

std::span<const std::string_view> section_headers(DescriptionRole role) {
    if (role == DescriptionRole::kLine) return kLineHeaders;
    return kTrainHeaders;
}

}  // namespace scenariogen::lsp
