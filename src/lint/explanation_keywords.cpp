// The keywords of the two descriptions and the plain meaning of every value.
#include <array>

#include "lint/explanations.h"

namespace scenariogen {

namespace {

constexpr ExplanationKind K = ExplanationKind::kKeyword;
using V = ValueExplanation;

constexpr std::array kLength{
    V{"route length", "m", "the length of the line, 0 to 1000000; the route's cells run 7000 m further"}};
constexpr std::array kProgressive{
    V{"start", "m", "the route position from which this kilometre count applies; a multiple of 50"},
    V{"reference", "m", "the kilometre value the count would have at route position 0; a multiple of 50"},
    V{"sense", "",
      "0: kilometres rise along the route (value = reference + position); 1: they fall (reference - position)"},
};
constexpr std::array kBackground{
    V{"value", "", "a setting of the scenario's background, stored as given for the simulator"}};
constexpr std::array kRepetition{
    V{"first position", "m", "where cab signalling begins; a multiple of 50"},
    V{"second position", "m", "where it ends; a multiple of 50; 0: the line has no cab signalling"},
};
constexpr std::array kGradient{
    V{"position", "m", "where the gradient begins; it holds up to the next gradient line"},
    V{"gradient", "‰", "per mille, rising positive: -100 to 155 (stored as gradient + 100 in one byte)"},
};
constexpr std::array kCurve{
    V{"start", "m", "where the curve begins; the curve turns the metres after it"},
    V{"length", "m", "how long the curve is along the track (not where it ends), 1 at least"},
};
constexpr std::array kMountain{
    V{"start", "m", "where the mountain stretch begins"},
    V{"end", "m", "where it ends; it marks the cells from start / 50 to end / 50 - 1"},
    V{"kind", "",
      "the kind of stretch, 0 to 10, for the simulator; 10 + kind (up to 265) adds a marker on every fourth cell"},
};
constexpr std::array kBoard{
    V{"position", "m", "where the board stands"},
    V{"left speed A", "km/h", "the speed the left-hand board shows for trains of rank A (the slowest rank)"},
    V{"left speed B", "km/h", "the same for rank B"},
    V{"left speed C", "km/h", "the same for rank C; the line limit the board announces is usually the highest"},
    V{"left stripes", "",
      "the stripes on the left-hand board, 0 to 9; the run's own line counts them down 2, 1, 0 before a lower limit"},
    V{"right speed A", "km/h", "the right-hand board, 0 to 95 in steps of 5; may be left empty"},
    V{"right speed B", "km/h", "the same for rank B"},
    V{"right speed C", "km/h", "the same for rank C"},
    V{"right stripes", "", "the stripes on the right-hand board, 0 to 9"},
};
constexpr std::array kSign{
    V{"position", "m", "where the sign board stands"},
    V{"sign text", "",
      "the rest of the line: one to three lines in parentheses, without commas: (   P.L.  )(km 0+662)"},
};
constexpr std::array kBrakedMass{V{"braked-mass percentage", "%",
                                   "λ, the train's braking power against its mass: about 50 to 100 for freight, 100 "
                                   "to 160 for passenger trains; check takes the braking rate as λ × 0.00694 m/s²"}};
constexpr std::array kCoaches{V{"number of coaches", "", "the coaches of the train, 1 at least"}};
constexpr std::array kSpeed{
    V{"position", "m", "where the limit begins; it holds up to the next 'velocita' line; the list begins at 0"},
    V{"speed limit", "km/h", "the line limit for this train, 0 to 1275 in steps of 5"},
};
constexpr std::array kAdhesion{
    V{"position", "m", "where the adhesion begins; it holds up to the next 'aderenza' line; the list begins at 0"},
    V{"adhesion", "", "the grip between wheel and rail, 0 to 255, for the simulator; the generation run uses 100"},
};
constexpr std::array kClock{
    V{"hour", "", "the scenario clock at its start, 0 to 23"},
    V{"minute", "", "0 to 59"},
    V{"second", "", "0 to 59; the three may be separated by blanks or commas"},
};
constexpr std::array kSand{
    V{"sand value", "", "the train's sand, -32768 to 32767, for the simulator; the generation run uses 300"}};
constexpr std::array kSignal{
    V{"position", "m",
      "where the signal stands, 325 at least: its advance markers lie 100, 200, 300 and 400 m before it"},
    V{"sx", "",
      "the code of the signal's left side (sinistra), 0 to 3; the run's own train uses 1 for the signals "
      "1200 to 1500 m before a station's entry signal and 2 for the entry signals, 700 to 1300 m before a station"},
    V{"s1", "", "the left digit of the signal's first value (s1 × 10 + d1)"},
    V{"s2", "", "the left digit of its second value (s2 × 10 + d2)"},
    V{"s3", "", "the left digit of its third value (s3 × 10 + d3)"},
    V{"rapp", "", "stored as the tens of the fourth value, rapp × 10 + sx × 3 + dx"},
    V{"dx", "", "the code of the right side (destra), 0 to 2; sx × 3 + dx at most 9"},
    V{"d1", "", "the right digit of the first value, 0 to 9"},
    V{"d2", "", "the right digit of the second value, 0 to 9"},
    V{"d3", "", "the right digit of the third value, 0 to 9"},
    V{"tempo", "", "a time value, 0 to 255, kept only for sx 2; 1 to 100 becomes 101"},
};
constexpr std::array kSlowdown{
    V{"position", "m", "where the slowdown starts; its warning point stands 1200 m before (for a start past 1500 m)"},
    V{"speed", "km/h", "the speed to keep over the slowdown; below 110 it gets code-drop points every 400 m"},
    V{"length", "m", "how long the slowdown is; its end is at position + length, in another cell than its start"},
    V{"f_tt", "", "a value carried into the start and end cells (their third value), for the simulator"},
    V{"f_ta", "", "not 0: the four cells before the warning point are marked too (numbered 1 to 4)"},
    V{"d_v", "",
      "a value carried into the start, end and warning cells (their second value) when not 0, for the simulator"},
};
constexpr std::array kCodeDrop{
    V{"position", "m", "where the code-drop point stands: it goes to the cell that ends there"},
    V{"value", "",
      "1 to 32767, carried into the cell for the simulator (the compiler's own points carry 180); 0: a point without a "
      "value"},
};
constexpr std::array kStation{
    V{"position", "m", "where the station stands, a multiple of 50; stations go in increasing order"},
    V{"type", "",
      "0 to 255: 5 and 6 an area from position - length to position + 150, 7 and 8 position ± length, "
      "25 and above no markers (the run's own halt is 27), any other position ± length / 2"},
    V{"length", "m", "the length of the station's area, a multiple of 100"},
    V{"attribute 5", "", "0 to 255, carried to the simulator unchanged"},
    V{"attribute 15", "", "0 to 255, carried to the simulator; stored as 0 at the first station and below 600 m"},
    V{"attribute 14", "",
      "0 to 255; not 0: the area ends 50 m later; stored as 0 at the first station and for types 5 to 8"},
    V{"attribute 7", "", "-32768 to 32767, carried to the simulator unchanged"},
    V{"attribute 8", "", "-32768 to 32767, carried to the simulator unchanged"},
    V{"attribute 12", "", "0 to 255, carried to the simulator unchanged"},
    V{"attribute 9", "", "-32768 to 32767, carried to the simulator unchanged"},
    V{"attribute 10", "", "-32768 to 32767, carried to the simulator unchanged"},
    V{"attribute 11", "", "-32768 to 32767, carried to the simulator unchanged"},
    V{"stop", "s", "how long the train stands, 0 to 255; 0 at an intermediate station: the train passes it"},
    V{"hour", "", "the station's time: its departure, at the terminus its arrival; 0 to 23"},
    V{"minute", "", "0 to 59"},
    V{"second", "", "0 to 59"},
    V{"name", "", "the rest of the line, blanks before it skipped; not empty"},
};

constexpr std::array kKeywords{
    Explanation{K, "lunghezza percorso",
                "Line description, general section. The length of the route in metres; required.",
                "lunghezza percorso,  46000", "One line, after [generale] and before the first other header.", kLength},
    Explanation{K, "progressiva chilometrica uno",
                "Line description, general section. The first kilometric progressive: how the line's kilometre posts "
                "count along the route. 'uno', 'due' and 'tre' give up to three; all three values 0: not used.",
                "progressiva chilometrica uno,  0,  0,  0", "Lower case only.", kProgressive},
    Explanation{K, "progressiva chilometrica due",
                "Line description, general section. The second kilometric progressive, as 'uno'. The run's line "
                "counts down from 49.6 km from 12700 m on.",
                "progressiva chilometrica due,  12700,  49600,  1", "Lower case only.", kProgressive},
    Explanation{K, "progressiva chilometrica tre",
                "Line description, general section. The third kilometric progressive, as 'uno'.",
                "progressiva chilometrica tre,  0,  0,  0", "Lower case only.", kProgressive},
    Explanation{K, "sfondo uno",
                "Line description, general section. The first of three background settings of the scenario, which "
                "the compiler stores unchanged for the simulator; the run's line gives 1.",
                "sfondo uno,  1", "Lower case only.", kBackground},
    Explanation{K, "sfondo due", "Line description, general section. The second background setting; the run gives 0.",
                "sfondo due,  0", "Lower case only.", kBackground},
    Explanation{K, "sfondo tre", "Line description, general section. The third background setting; the run gives 0.",
                "sfondo tre,  0", "Lower case only.", kBackground},
    Explanation{K, "ripetizione segnali 4 codici",
                "Line description, general section. Cab signalling (signal repetition) with 4 codes, or 9 with "
                "'ripetizione segnali 9 codici', between two positions.",
                "ripetizione segnali 4 codici,  0,  0", "Lower case only; 4 or 9 in the keyword.", kRepetition},
    Explanation{K, "pendenza",
                "Line description, after the general section. A change of gradient, in per mille; the lines go in "
                "increasing order of position, 50 m apart at least.",
                "pendenza,  14100,  -6", "Write the gradient in per mille: 6 ‰ is 6.", kGradient},
    Explanation{K, "curva",
                "Line description, after the general section. A curve: 'curvad' turns right, 'curvas' left, and "
                "the digit is its class: 1 to 6, radius about 10000, 5000, 2500, 1000, 500 or 333 m. Curves go in "
                "order of start and do not overlap.",
                "curvad4,  650,  1000", "Write curvad1 to curvad6 or curvas1 to curvas6.", kCurve},
    Explanation{K, "montagna",
                "Line description, after the general section. A mountain stretch of a kind the simulator knows; "
                "at most 80.",
                "montagna,  3000,  5000,  12", "A stretch 150 m or less after the previous one becomes kind 3.",
                kMountain},
    Explanation{K, "indicatori_vmax",
                "Line description, after the general section. A speed-indicator board: the speeds it shows for the "
                "three ranks of trains, on a left-hand and a right-hand board.",
                "indicatori_vmax,  700,  130,  140,  140,  0,    ,    ,    ,  0",
                "The right-hand speeds may be left empty; the cell must be free.", kBoard},
    Explanation{K, "cartello_indicatore",
                "Line description, after the general section. A sign board with its text: a level crossing, a "
                "junction, a kilometre post. At most 80.",
                "cartello_indicatore,  650,     (   P.L.  )(km 0+662)",
                "The text takes the rest of the line, without commas.", kSign},
    Explanation{K, "percentuale massa frenata",
                "Train description. The train's braked-mass percentage, which sets its braking in the timetable "
                "check.",
                "percentuale massa frenata,    130", "One line after [generale].", kBrakedMass},
    Explanation{K, "numero vetture", "Train description. The number of coaches.", "numero vetture,    6",
                "One line after [generale].", kCoaches},
    Explanation{K, "velocita",
                "Train description. The line speed limit from a position on; the lines go in increasing order, the "
                "first at 0 m. 'velocità' is read as 'velocita'.",
                "velocita,  23100,  105", "Give the limit in km/h, a multiple of 5.", kSpeed},
    Explanation{K, "aderenza",
                "Train description. The adhesion from a position on; the lines go in increasing order, the first at "
                "0 m.",
                "aderenza,  0,  100", "One line at 0 m is enough for a whole line.", kAdhesion},
    Explanation{K, "orologio", "Train description. The scenario's clock when it starts.", "orologio,    6  32  50",
                "Set it a little before the first departure.", kClock},
    Explanation{K, "sabbia", "Train description. The train's sand, for the simulator.", "sabbia,    300",
                "One line after [generale].", kSand},
    Explanation{K, "segnale",
                "Train description. A signal: its cell and four advance markers before it. The values are stored "
                "for the simulator in the cell: s1 × 10 + d1, s2 × 10 + d2, s3 × 10 + d3 and rapp × 10 + sx × 3 + dx.",
                "segnale,  3200,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0", "The cell must be free.", kSignal},
    Explanation{K, "rallentamento",
                "Train description. A temporary slowdown: its start, end and warning point, and the code-drop "
                "points the compiler places before and along it.",
                "rallentamento,  4000,  30,  600,  1,  1,  0",
                "Start and end in different cells; the cells must be free.", kSlowdown},
    Explanation{K, "abbattimento",
                "Train description. A code-drop point: a point where the cab signal's code drops, as the compiler "
                "also places before signals and along slowdowns.",
                "abbattimento,  7500,  150", "The cell that ends at the position must be free.", kCodeDrop},
    Explanation{K, "stazione",
                "Train description. A station of the timetable: 16 numbers and the name. The first is where the "
                "train departs, the last the terminus.",
                "stazione,  5300,  12,  600,  0,  0,  1,  1,  1,  0,  4,  1,  1,  60,  6,  39,  0,   LUVERA",
                "Stations go in increasing order, their areas 350 m apart at least.", kStation},
};

}  // namespace

std::span<const Explanation> keyword_explanations() { return kKeywords; }

}  // namespace scenariogen
