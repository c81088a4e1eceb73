// The keywords of the two descriptions and the plain meaning of every value.
#include <array>

#include "lint/explanations.h"

namespace scenariogen {

namespace {

constexpr ExplanationKind K = ExplanationKind::kKeyword;
using syntax::Keyword;

// A keyword's values, with their units and meanings, as the keyword table has them.
std::span<const syntax::ValueShape> values_of(Keyword keyword) { return syntax::shape(keyword).values; }

const std::array<Explanation, 23>& keywords() {
    static const std::array<Explanation, 23> entries{
        Explanation{K, "lunghezza percorso",
                    "Line description, general section. The length of the route in metres; required.",
                    "lunghezza percorso,  46000", "One line, after [generale] and before the first other header.",
                    values_of(Keyword::kLength)},
        Explanation{
            K, "progressiva chilometrica uno",
            "Line description, general section. The first kilometric progressive: how the line's kilometre posts "
            "count along the route. 'uno', 'due' and 'tre' give up to three; all three values 0: not used.",
            "progressiva chilometrica uno,  0,  0,  0", "Lower case only.", values_of(Keyword::kProgressiveOne)},
        Explanation{K, "progressiva chilometrica due",
                    "Line description, general section. The second kilometric progressive, as 'uno'. The run's line "
                    "counts down from 49.6 km from 12700 m on.",
                    "progressiva chilometrica due,  12700,  49600,  1", "Lower case only.",
                    values_of(Keyword::kProgressiveTwo)},
        Explanation{K, "progressiva chilometrica tre",
                    "Line description, general section. The third kilometric progressive, as 'uno'.",
                    "progressiva chilometrica tre,  0,  0,  0", "Lower case only.",
                    values_of(Keyword::kProgressiveThree)},
        Explanation{K, "sfondo uno",
                    "Line description, general section. The first of three background settings of the scenario, which "
                    "the compiler stores unchanged for the simulator; the run's line gives 1.",
                    "sfondo uno,  1", "Lower case only.", values_of(Keyword::kBackgroundOne)},
        Explanation{K, "sfondo due",
                    "Line description, general section. The second background setting; the run gives 0.",
                    "sfondo due,  0", "Lower case only.", values_of(Keyword::kBackgroundTwo)},
        Explanation{K, "sfondo tre",
                    "Line description, general section. The third background setting; the run gives 0.",
                    "sfondo tre,  0", "Lower case only.", values_of(Keyword::kBackgroundThree)},
        Explanation{K, "ripetizione segnali 4 codici",
                    "Line description, general section. Cab signalling (signal repetition) with 4 codes, or 9 with "
                    "'ripetizione segnali 9 codici', between two positions.",
                    "ripetizione segnali 4 codici,  0,  0", "Lower case only; 4 or 9 in the keyword.",
                    values_of(Keyword::kSignalRepetition)},
        Explanation{K, "pendenza",
                    "Line description, after the general section. A change of gradient, in per mille; the lines go in "
                    "increasing order of position, 50 m apart at least.",
                    "pendenza,  14100,  -6", "Write the gradient in per mille: 6 ‰ is 6.",
                    values_of(Keyword::kGradient)},
        Explanation{K, "curva",
                    "Line description, after the general section. A curve: 'curvad' turns right, 'curvas' left, and "
                    "the digit is its class: 1 to 6, radius about 10000, 5000, 2500, 1000, 500 or 333 m. Curves go in "
                    "order of start and do not overlap.",
                    "curvad4,  650,  1000", "Write curvad1 to curvad6 or curvas1 to curvas6.",
                    values_of(Keyword::kCurve)},
        Explanation{K, "montagna",
                    "Line description, after the general section. A mountain stretch of a kind the simulator knows; "
                    "at most 80.",
                    "montagna,  3000,  5000,  12", "A stretch 150 m or less after the previous one becomes kind 3.",
                    values_of(Keyword::kMountain)},
        Explanation{K, "indicatori_vmax",
                    "Line description, after the general section. A speed-indicator board: the speeds it shows for the "
                    "three ranks of trains, on a left-hand and a right-hand board.",
                    "indicatori_vmax,  700,  130,  140,  140,  0,    ,    ,    ,  0",
                    "The right-hand speeds may be left empty; the cell must be free.", values_of(Keyword::kSpeedBoard)},
        Explanation{K, "cartello_indicatore",
                    "Line description, after the general section. A sign board with its text: a level crossing, a "
                    "junction, a kilometre post. At most 80.",
                    "cartello_indicatore,  650,     (   P.L.  )(km 0+662)",
                    "The text takes the rest of the line, without commas.", values_of(Keyword::kSign)},
        Explanation{K, "percentuale massa frenata",
                    "Train description. The train's braked-mass percentage, which sets its braking in the timetable "
                    "check.",
                    "percentuale massa frenata,    130", "One line after [generale].", values_of(Keyword::kBrakedMass)},
        Explanation{K, "numero vetture", "Train description. The number of coaches.", "numero vetture,    6",
                    "One line after [generale].", values_of(Keyword::kCoaches)},
        Explanation{K, "velocita",
                    "Train description. The line speed limit from a position on; the lines go in increasing order, the "
                    "first at 0 m. 'velocità' is read as 'velocita'.",
                    "velocita,  23100,  105", "Give the limit in km/h, a multiple of 5.", values_of(Keyword::kSpeed)},
        Explanation{
            K, "aderenza",
            "Train description. The adhesion from a position on; the lines go in increasing order, the first at "
            "0 m.",
            "aderenza,  0,  100", "One line at 0 m is enough for a whole line.", values_of(Keyword::kAdhesion)},
        Explanation{K, "orologio", "Train description. The scenario's clock when it starts.", "orologio,    6  32  50",
                    "Set it a little before the first departure.", values_of(Keyword::kClock)},
        Explanation{K, "sabbia", "Train description. The train's sand, for the simulator.", "sabbia,    300",
                    "One line after [generale].", values_of(Keyword::kSand)},
        Explanation{
            K, "segnale",
            "Train description. A signal: its cell and four advance markers before it. The values are stored "
            "for the simulator in the cell: s1 × 10 + d1, s2 × 10 + d2, s3 × 10 + d3 and rapp × 10 + sx × 3 + dx.",
            "segnale,  3200,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0", "The cell must be free.",
            values_of(Keyword::kSignal)},
        Explanation{K, "rallentamento",
                    "Train description. A temporary slowdown: its start, end and warning point, and the code-drop "
                    "points the compiler places before and along it.",
                    "rallentamento,  4000,  30,  600,  1,  1,  0",
                    "Start and end in different cells; the cells must be free.", values_of(Keyword::kSlowdown)},
        Explanation{K, "abbattimento",
                    "Train description. A code-drop point: a point where the cab signal's code drops, as the compiler "
                    "also places before signals and along slowdowns.",
                    "abbattimento,  7500,  150", "The cell that ends at the position must be free.",
                    values_of(Keyword::kCodeDrop)},
        Explanation{K, "stazione",
                    "Train description. A station of the timetable: 16 numbers and the name. The first is where the "
                    "train departs, the last the terminus.",
                    "stazione,  5300,  12,  600,  0,  0,  1,  1,  1,  0,  4,  1,  1,  60,  6,  39,  0,   LUVERA",
                    "Stations go in increasing order, their areas 350 m apart at least.", values_of(Keyword::kStation)},
    };
    return entries;
}

}  // namespace

std::span<const Explanation> keyword_explanations() { return keywords(); }

}  // namespace scenariogen
