// The train card: the driver's timetable sheet for the run from Zervano to
// Odelma P.ta Livara, with the train's category boxes and the table of the
// places along the route (speeds, kilometric progressives, times). Fixed text,
// the same whatever the scenario's name and train number (the card shows the
// number in four digits, "2734"); the table keeps its bars at columns 2, 8,
// 14, 25, 31, 60, 77 and 83, and "Località" is its one non-ASCII word.
#include <array>
#include <string_view>

#include "content/documents.h"

namespace scenariogen {

namespace {

constexpr std::array<std::string_view, 44> kScheda{
    "",
    "",
    "  ___________________                                               ______________",
    " |                   |                    SCHEDA                   |              |",
    " |   TRENO n.2734    |                da: Zervano                  |    V130 B    |",
    " |___________________|                 a: Odelma P.ta Livara       |    130 %     |",
    "                                                                   |______________|",
    "  ___________________                ___________________",
    " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |",
    " |       REG         |              |      500T         |",
    " |___________________|              |___________________|",
    "",
    "  ________________________________________________________________________________",
    " | Vel.| Vel.| Progr Km |  No |   Località  di  Servizio   |     Orario     | Rec |",
    " | Lim.|Marc.|          |  Rs |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    " |     |     |     0.000|     | ZERVANO                    |          6.33  |     |",
    " | 140 | 130 |     0.700|     | Deviatoio uscita Zervano   |                |     |",
    " |     |     |     5.300|     | LUVERA                     |   6.38 - 6.39  |     |",
    " |     |     |    12.800|     | BRENDAGO                   |   6.45 - 6.46  |     |",
    " | 105 |  95 |    26.500|     | TORRIANEVALLE              |   6.54 - 6.55  |     |",
    " | 140 | 130 |    24.800|     | Ponte Roggione Grande      |                |     |",
    " |     |     |    17.350|     | MURIELLO                   |   7.04 - 7.07  |     |",
    " |     |     |    13.950|     | CALVISSO                   |   7.11 - 7.12  |     |",
    " |     |     |    10.900|     | FONTEGA                    |   7.15 - 7.16  |     |",
    " |  90 |  90 |     8.600|     | ODELMA S.LEONARDINO        |   7.19 - 7.20  |     |",
    " |  30 |  30 |     6.500|     | Segn. protezione Od P.Liv. |                |     |",
    " |     |     |     5.200|     | ODELMA P.LIVARA            |   7.25         |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    "",
    "",
    "",
    " ",
};

}  // namespace

LineList train_card_lines() {
    LineList lines(kScheda.begin(), kScheda.end());
    lines.emplace_back(kSentinel);
    return lines;
}

}  // namespace scenariogen
