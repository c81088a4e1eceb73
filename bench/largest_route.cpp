// The route repeats one 10 km block a hundred times. Within a block every
// object has its own cells, chosen so that the placement rules find the
// cells they need free:
//
//   0 m      gradient, speed limit, adhesion
//   every 500 m a curve of 100 m (classes 1 to 6, left and right in turn)
//   2000 m   speed-indicator board            (cell +41)
//   3000 m   signal                            (cell +61, markers +53 to +59)
//   4000 m   mountain stretch to 4800 m        (cells +80 to +95, first 80 blocks)
//   6000 m   slowdown of 500 m                 (start +121, end +131, warning +97,
//                                               with f_ta in every other block +93 to +96)
//   6800 m   signal after the slowdown         (cell +137)
//   8000 m   code-drop point                   (cell +160)
//   8500 m   sign board                        (cell +171, first 40 blocks)
//   9000 m   station of 600 m                  (end marker +185, every third block, 30 stations)
#include "bench/largest_route.h"

#include "content/description_files.h"

namespace scenariogen {

namespace {

constexpr int kBlocco = 10000;
constexpr int kBlocchi = kLunghezzaGrande / kBlocco;

std::string line(const std::string& keyword, const std::vector<std::optional<int>>& values) {
    return keyword_line(keyword, values) + "\r\n";
}

}  // namespace

std::string largest_line_description() {
    std::string text = "[generale]\r\n";
    text += line("lunghezza percorso", {kLunghezzaGrande});
    text += line("progressiva chilometrica uno", {0, 0, 0});
    text += line("progressiva chilometrica due", {500000, 900000, 1});
    text += line("progressiva chilometrica tre", {0, 0, 0});
    text += line("sfondo uno", {1});
    text += line("sfondo due", {2});
    text += line("sfondo tre", {3});
    text += line("ripetizione segnali 9 codici", {100000, 200000});
    text += "[curve]\r\n";
    for (int b = 0; b < kBlocchi; ++b) {
        for (int c = 0; c < kBlocco / 500; ++c) {
            const int classe = 1 + (b + c) % 6;
            const std::string keyword = std::string("curva") + (c % 2 ? "s" : "d") + std::to_string(classe);
            text += line(keyword, {b * kBlocco + c * 500 + 200, 100});
        }
    }
    text += "[pendenze]\r\n";
    for (int b = 0; b < kBlocchi; ++b) {
        for (int k = 0; k < 10; ++k) text += line("pendenza", {b * kBlocco + k * 1000, (b + k) % 13 - 6});
    }
    text += "[montagne]\r\n";
    for (int b = 0; b < 80; ++b) text += line("montagna", {b * kBlocco + 4000, b * kBlocco + 4800, 10 + 1 + b % 3});
    text += "[cartelli]\r\n";
    for (int b = 0; b < kBlocchi; ++b) {
        text += line("indicatori_vmax",
                     {b * kBlocco + 2000, 100, 110, 120, b % 3, std::nullopt, std::nullopt, std::nullopt, 0});
    }
    text += "[indicazioni]\r\n";
    for (int b = 0; b < 40; ++b) {
        text += keyword_line("cartello_indicatore", {b * kBlocco + 8500}) + ",     (   P.L.  )(km " +
                std::to_string(b * 10 + 8) + "+500)\r\n";
    }
    text += "[fine]\r\n";
    return text;
}

std::string largest_train_description() {
    std::string text =
        "[generale]\r\nnumero vetture,    12\r\npercentuale massa frenata,    140\r\n"
        "sabbia,    300\r\norologio,    5               0            0 \r\n[aderenze]\r\n";
    for (int b = 0; b < kBlocchi; ++b) text += line("aderenza", {b * kBlocco, 90 + b % 11});
    text += "[vel_limite]\r\n";
    for (int b = 0; b < kBlocchi; ++b) text += line("velocita", {b * kBlocco, b % 2 ? 100 : 140});
    text += "[stazioni]\r\n";
    int orario = 5 * 3600;
    for (int s = 0; s < 30; ++s) {
        const int b = s * 3;
        orario += 1800;
        text += keyword_line("stazione", {b * kBlocco + 9000, 12, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, s == 29 ? 0 : 60,
                                          orario / 3600, orario / 60 % 60, 0}) +
                ",   STAZIONE " + std::to_string(s + 1) + "\r\n";
    }
    text += "[rallentamenti]\r\n";
    for (int b = 0; b < kBlocchi; ++b) {
        text += line("rallentamento", {b * kBlocco + 6000, b % 2 ? 120 : 60, 500, 1, b % 2, b % 4 == 0 ? 5 : 0});
    }
    text += "[segnali]\r\n";
    for (int b = 0; b < kBlocchi; ++b) {
        text += line("segnale", {b * kBlocco + 3000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0});
        text += line("segnale",
                     {b * kBlocco + 6800, 2, 3, 1, 0, 0, 0, 0, 0, 0, 101});  // a time up to 100 would be stored as 101
    }
    text += "[codici]\r\n";
    for (int b = 0; b < kBlocchi; ++b) text += line("abbattimento", {b * kBlocco + 8000, b % 5 ? 150 : 0});
    text += "[fine]\r\n";
    return text;
}

}  // namespace scenariogen
