// Train 27340 from Zervano to Odelma P.Livara: its data, adhesion, speed
// limits, stations and signals.
#include "content/description_files.h"

namespace scenariogen {

LineList train_description_lines() {
    return {
        "[generale]",
        "numero vetture,    6",
        "percentuale massa frenata,    130",
        "sabbia,    300",
        "orologio,    6               32            50 ",
        "[aderenze]",
        "aderenza,  0,  100",
        "[vel_limite]",
        "velocita,  0,  140",
        "velocita,  700,  140",
        "velocita,  23100,  105",
        "velocita,  24800,  140",
        "velocita,  41000,  90",
        "velocita,  43100,  30",
        "[stazioni]",
        "stazione,  0,  4,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  6,  33,  0,   ZERVANO",
        "stazione,  5300,  12,  600,  0,  0,  1,  1,  1,  0,  4,  1,  1,  60,  6,  39,  0,   LUVERA",
        "stazione,  12800,  12,  500,  0,  0,  1,  1,  1,  0,  4,  1,  1,  60,  6,  46,  0,   BRENDAGO",
        "stazione,  23100,  12,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  60,  6,  55,  0,   TORRIANEVALLE",
        "stazione,  32250,  12,  600,  1,  0,  0,  4,  1,  0,  2,  1,  1,  60,  7,  7,  0,   MURIELLO",
        "stazione,  35650,  27,  300,  0,  0,  0,  0,  0,  0,  0,  0,  0,  60,  7,  12,  0,   CALVISSO",
        "stazione,  38700,  12,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  60,  7,  16,  0,   FONTEGA",
        "stazione,  41000,  2,  600,  0,  0,  1,  1,  1,  0,  3,  4,  1,  60,  7,  20,  0,   ODELMA S.LEONARDINO",
        "stazione,  44200,  12,  600,  1,  0,  0,  1,  1,  0,  2,  1,  1,  0,  7,  25,  0,   ODELMA P.LIVARA",
        "[rallentamenti]",
        "[segnali]",
        "segnale,  3200,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0",
        "segnale,  4500,  2,  3,  1,  0,  0,  0,  0,  0,  0,  0",
        "segnale,  10600,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0",
        "segnale,  11800,  2,  3,  1,  0,  0,  0,  0,  0,  0,  0",
        "segnale,  21050,  1,  5,  1,  0,  0,  0,  0,  0,  0,  0",
        "segnale,  22300,  2,  3,  1,  0,  0,  0,  0,  0,  0,  0",
        "segnale,  30300,  1,  5,  6,  0,  0,  0,  0,  0,  0,  0",
        "segnale,  31500,  2,  2,  3,  0,  1,  0,  0,  0,  0,  0",
        "segnale,  36800,  1,  5,  1,  0,  0,  0,  0,  0,  0,  0",
        "segnale,  38000,  2,  3,  1,  0,  0,  0,  0,  0,  0,  0",
        "segnale,  39950,  2,  3,  1,  0,  0,  0,  0,  0,  0,  0",
        "segnale,  43000,  2,  2,  3,  0,  0,  0,  0,  0,  0,  0",
        "[codici]",
        "[fine]",
        std::string(kSentinel),
    };
}

}  // namespace scenariogen
