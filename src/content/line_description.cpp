// The line Zervano - Odelma: 46 km, its curves, gradients, speed-indicator
// boards and sign boards.
#include <array>

#include "content/description_files.h"

namespace scenariogen {

namespace {

struct Curve {
    const char* keyword;
    int start;
    int length;
};

constexpr std::array<Curve, 20> kCurves{{
    {"curvad4", 650, 1000},  {"curvas4", 11800, 700}, {"curvas2", 12950, 50},  {"curvad2", 13000, 50},
    {"curvas4", 13200, 400}, {"curvad2", 15200, 450}, {"curvas2", 20650, 400}, {"curvas4", 22900, 300},
    {"curvad5", 23300, 800}, {"curvas4", 31500, 300}, {"curvas3", 33800, 400}, {"curvad3", 37000, 300},
    {"curvad2", 40100, 200}, {"curvad3", 41750, 150}, {"curvas3", 42000, 150}, {"curvad3", 42750, 200},
    {"curvas3", 43100, 200}, {"curvad4", 43600, 100}, {"curvas6", 43900, 300}, {"curvas6", 44300, 200},
}};

struct Gradient {
    int position;
    int per_mille;
};

constexpr std::array<Gradient, 9> kGradients{{
    {0, 0},
    {14100, -6},
    {16100, 0},
    {20600, 4},
    {22600, 6},
    {23600, 4},
    {25100, -5},
    {25600, -2},
    {28350, 0},
}};

// A speed-indicator board: position, left-hand speeds A, B, C and stripes;
// the right-hand speeds are left empty and its stripes are 0.
struct SpeedBoard {
    int position;
    int vas, vbs, vcs, strisces;
};

constexpr std::array<SpeedBoard, 7> kSpeedBoards{{
    {700, 130, 140, 140, 0},
    {21800, 100, 105, 105, 2},
    {22100, 100, 105, 105, 1},
    {22400, 100, 105, 105, 0},
    {24800, 130, 140, 140, 0},
    {39900, 90, 90, 90, 0},
    {42900, 30, 30, 30, 0},
}};

struct Sign {
    int position;
    const char* text;
};

constexpr std::array<Sign, 37> kSigns{{
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
}};

}  // namespace

std::string keyword_line(const std::string& keyword, const std::vector<std::optional<int>>& values) {
    std::string line = keyword;
    for (const auto& value : values) line += ",  " + (value ? std::to_string(*value) : std::string("  "));
    return line;
}

LineList line_description_lines() {
    LineList lines{
        "[generale]",
        keyword_line("lunghezza percorso", {46000}),
        keyword_line("progressiva chilometrica uno", {0, 0, 0}),
        keyword_line("progressiva chilometrica due", {12700, 49600, 1}),
        keyword_line("progressiva chilometrica tre", {0, 0, 0}),
        keyword_line("sfondo uno", {1}),
        keyword_line("sfondo due", {0}),
        keyword_line("sfondo tre", {0}),
        keyword_line("ripetizione segnali 4 codici", {0, 0}),
        "[curve]",
    };
    for (const auto& curve : kCurves) lines.push_back(keyword_line(curve.keyword, {curve.start, curve.length}));
    lines.push_back("[pendenze]");
    for (const auto& gradient : kGradients) {
        lines.push_back(keyword_line("pendenza", {gradient.position, gradient.per_mille}));
    }
    lines.push_back("[montagne]");
    lines.push_back("[cartelli]");
    for (const auto& board : kSpeedBoards) {
        lines.push_back(keyword_line("indicatori_vmax", {board.position, board.vas, board.vbs, board.vcs,
                                                         board.strisces, std::nullopt, std::nullopt, std::nullopt, 0}));
    }
    lines.push_back("[indicazioni]");
    for (const auto& sign : kSigns) {
        lines.push_back(keyword_line("cartello_indicatore", {sign.position}) + ",     " + sign.text);
    }
    lines.push_back("[fine]");
    lines.emplace_back(kSentinel);
    return lines;
}

}  // namespace scenariogen
