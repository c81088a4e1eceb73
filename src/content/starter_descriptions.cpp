// A comment is a line that begins with "--" and holds no comma: the reader
// skips a field that holds "-", up to ten in a row in the general section
// and two elsewhere, so no more than two comment lines stand together below
// the general section.
#include "content/starter_descriptions.h"

#include <string>

namespace scenariogen {

LineList starter_line_lines() {
    return {
        "-- The line description: the railway line itself. Positions are in metres from its start.",
        "-- Nothing before the next line is read. 'scenariogen explain KEYWORD' tells what each line means.",
        "[generale]",
        "-- The length of the line in metres.",
        "lunghezza percorso,  6000",
        "-- Kilometric progressives (start  reference  sense): all three 0 when not used.",
        "progressiva chilometrica uno,  0,  0,  0",
        "progressiva chilometrica due,  0,  0,  0",
        "progressiva chilometrica tre,  0,  0,  0",
        "-- Three background settings for the simulator.",
        "sfondo uno,  1",
        "sfondo due,  0",
        "sfondo tre,  0",
        "-- Cab signalling with 4 codes from one position to another: a second position of 0 means none.",
        "ripetizione segnali 4 codici,  0,  0",
        "[curve]",
        "-- A curve to the right (curvad) of class 3 (radius about 2500 m): start 2000 m and length 400 m.",
        "curvad3,  2000,  400",
        "[pendenze]",
        "-- Gradients in per mille from a position on: level from 0 m and a climb of 8 from 2500 m.",
        "pendenza,  0,  0",
        "pendenza,  2500,  8",
        "-- Level again from 4000 m.",
        "pendenza,  4000,  0",
        "[montagne]",
        "[cartelli]",
        "-- A speed board at 600 m: 90 km/h for rank A and 100 for ranks B and C on the left side.",
        "indicatori_vmax,  600,  90,  100,  100,  0,    ,    ,    ,  0",
        "[indicazioni]",
        "-- A sign board at 1500 m: one to three lines in parentheses and no commas.",
        "cartello_indicatore,  1500,     (   P.L.  )(km 1+500)",
        "[fine]",
        std::string(kSentinel),
    };
}

LineList starter_train_lines() {
    return {
        "-- The train description: the train and its run over the line. Positions are in metres.",
        "-- Nothing before the next line is read. 'scenariogen explain KEYWORD' tells what each line means.",
        "[generale]",
        "-- Four coaches with 130 per cent braked mass and some sand.",
        "numero vetture,    4",
        "percentuale massa frenata,    130",
        "sabbia,    300",
        "-- The scenario's clock when it starts: hours  minutes  seconds.",
        "orologio,    8  0  0",
        "[aderenze]",
        "-- The adhesion from 0 m on.",
        "aderenza,  0,  100",
        "[vel_limite]",
        "-- Line limits in km/h from a position on: the list begins at 0 m.",
        "velocita,  0,  100",
        "-- 60 km/h from 4500 m to the end.",
        "velocita,  4500,  60",
        "[stazioni]",
        "-- position  type  length  nine attributes  stop (s)  hour  minute  second  name",
        "-- The first station: the train leaves at its time.",
        "stazione,  0,  4,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  8,  1,  0,   PARTENZA",
        "-- The terminus: its time is the arrival.",
        "stazione,  5500,  12,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  0,  8,  9,  0,   ARRIVO",
        "[rallentamenti]",
        "-- A slowdown to 30 km/h from 3000 m over 400 m: its warning stands 1200 m before it.",
        "rallentamento,  3000,  30,  400,  1,  0,  0",
        "[segnali]",
        "-- A signal at 4700 m before ARRIVO: position  sx  s1  s2  s3  rapp  dx  d1  d2  d3  tempo.",
        "segnale,  4700,  2,  3,  1,  0,  0,  0,  0,  0,  0,  0",
        "[codici]",
        "[fine]",
        std::string(kSentinel),
    };
}

}  // namespace scenariogen
