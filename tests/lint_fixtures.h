// Small description files for the strict check's tests: a 10 km line and
// its train, each line numbered in a comment, and a way to change lines.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace scenariogen::testing {

// The route is 10000 m long: cells 0 to 340.
inline const std::vector<std::string> kLineLines{
    "[generale]",                                                      // 1
    "lunghezza percorso,  10000",                                      // 2
    "progressiva chilometrica uno,  0,  0,  0",                        // 3
    "progressiva chilometrica due,  0,  0,  0",                        // 4
    "progressiva chilometrica tre,  0,  0,  0",                        // 5
    "sfondo uno,  1",                                                  // 6
    "sfondo due,  0",                                                  // 7
    "sfondo tre,  0",                                                  // 8
    "ripetizione segnali 4 codici,  0,  0",                            // 9
    "[curve]",                                                         // 10
    "curvad3,  2000,  500",                                            // 11
    "curvas4,  6000,  300",                                            // 12
    "[pendenze]",                                                      // 13
    "pendenza,  0,  0",                                                // 14
    "pendenza,  3000,  8",                                             // 15
    "pendenza,  5000,  -4",                                            // 16
    "pendenza,  7000,  0",                                             // 17
    "[montagne]",                                                      // 18
    "montagna,  3000,  5000,  12",                                     // 19
    "[cartelli]",                                                      // 20
    "indicatori_vmax,  600,  100,  110,  110,  0,    ,    ,    ,  0",  // 21
    "[indicazioni]",                                                   // 22
    "cartello_indicatore,  1500,     (   P.L.  )(km 1+500)",           // 23
    "[fine]",                                                          // 24
};

inline const std::vector<std::string> kTrainLines{
    "[generale]",                                                                               // 1
    "numero vetture,    4",                                                                     // 2
    "percentuale massa frenata,    120",                                                        // 3
    "sabbia,    200",                                                                           // 4
    "orologio,    8               0            0 ",                                             // 5
    "[aderenze]",                                                                               // 6
    "aderenza,  0,  100",                                                                       // 7
    "[vel_limite]",                                                                             // 8
    "velocita,  0,  110",                                                                       // 9
    "velocita,  6000,  80",                                                                     // 10
    "[stazioni]",                                                                               // 11
    "stazione,  0,  4,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  8,  1,  0,   VALBRUNA",   // 12
    "stazione,  9500,  12,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  0,  8,  9,  0,   ROCCA",  // 13
    "[rallentamenti]",                                                                          // 14
    "rallentamento,  4000,  30,  600,  1,  1,  0",                                              // 15
    "[segnali]",                                                                                // 16
    "segnale,  1000,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0",                                   // 17
    "segnale,  2500,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0",                                   // 18
    "segnale,  4800,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0",                                   // 19
    "segnale,  9000,  2,  3,  1,  0,  0,  0,  0,  0,  0,  0",                                   // 20
    "[codici]",                                                                                 // 21
    "abbattimento,  7500,  150",                                                                // 22
    "[fine]",                                                                                   // 23
};

// Changes to a file: line number -> its new text. A text with "\n" in it
// becomes several lines; kDeleted takes the line out.
using Edits = std::map<int, std::string>;
inline const std::string kDeleted =
    "\x01"
    "deleted";

// The lines with the edits made, joined with CR LF after each.
inline std::string edited(const std::vector<std::string>& lines, const Edits& edits) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto edit = edits.find(static_cast<int>(i) + 1);
        if (edit == edits.end()) {
            text += lines[i] + "\r\n";
            continue;
        }
        if (edit->second == kDeleted) continue;
        std::string rest = edit->second;
        for (std::size_t cut; (cut = rest.find('\n')) != std::string::npos; rest.erase(0, cut + 1)) {
            text += rest.substr(0, cut) + "\r\n";
        }
        text += rest + "\r\n";
    }
    return text;
}

}  // namespace scenariogen::testing
