// The warnings, in plain words: legal for the format, suspicious for a railway.
#include <array>

#include "lint/explanations.h"

namespace scenariogen {

namespace {

constexpr ExplanationKind W = ExplanationKind::kWarning;

constexpr std::array kWarnings{
    Explanation{W, "adhesion",
                "An adhesion of 0 from a position on: the wheels have no grip there, so the train can neither start "
                "nor brake. The generation run's line has 100 everywhere.",
                "aderenza,  0,  0", "Give the adhesion the line has: aderenza,  0,  100."},
    Explanation{W, "beyond-route",
                "An object stands past the end of the route (its 'lunghezza percorso'), in the 7000 m of cells that "
                "follow it.",
                "lunghezza percorso,  10000\n...\nsegnale,  10500,  ...", "Check the position, or lengthen the route."},
    Explanation{W, "blank-separated",
                "A blank, not a comma, ends a number, and the reader takes what follows it for the next value: "
                "'1 000' is two values.",
                "pendenza,  3 000,  8", "Write numbers without blanks inside, and a comma between values."},
    Explanation{W, "board-limit",
                "A speed-indicator board shows less, in each of its ranks, than the line limit where it stands and "
                "than any limit that begins within 4000 m after it. A board shows the limit of its place or one "
                "ahead; speeds of 22, 24 and 25 km/h where the line allows 90 are a slip.",
                "indicatori_vmax,  600,  22,  24,  25,  0,    ,    ,    ,  0  (with velocita,  0,  90)",
                "Give the board the limit it announces, in km/h: indicatori_vmax,  600,  90,  90,  90,  0, ..."},
    Explanation{W, "braked-mass",
                "The braked-mass percentage ('percentuale massa frenata', λ) is 0, which gives the train no brake, or "
                "lies outside what trains in service have: freight trains run with about 50 % or more, passenger "
                "trains with 100 % to 160 %, the best-braked about 200 %. 'check' runs a train of 0 % only with "
                "--braking, and makes this warning an error without it.",
                "percentuale massa frenata,    0",
                "Give the train's braked-mass percentage: 120 for a regional train."},
    Explanation{W, "clock",
                "The scenario's clock ('orologio') starts after the train's departure from its first station: the "
                "train is late before the scenario begins.",
                "orologio,    8  5  0\nstazione,  0,  4,  600, ... ,  1,  8,  1,  0,   VALBRUNA",
                "Set the clock a little before the first departure: orologio,    8  0  0."},
    Explanation{W, "coaches", "More coaches than any passenger train has (the longest have about 25).",
                "numero vetture,    60", "Give the number of coaches: numero vetture,    6."},
    Explanation{W, "control-character",
                "A control character (a byte below 32 other than the tab) stands in a line, and the reader keeps it "
                "as part of its field.",
                "stazione, ... ,   ROCCA\\x0C", "Delete it; an editor that shows invisible characters helps."},
    Explanation{W, "curve-angle",
                "A curve turns the track by more than a full circle, or by more than half of one when its length is "
                "larger than its start: the second value is the curve's length, not where it ends. A class 4 curve "
                "(radius about 1000 m) of 4500 m turns the track by 258°.",
                "curvad4,  2000,  4500", "Give the length: a curve from 2000 to 4500 m is curvad4,  2000,  2500."},
    Explanation{W, "duplicate-station",
                "Two stations of the timetable have one name. Only the first and the last station may share it, on a "
                "line that comes back to where it began.",
                "stazione,  5000, ... ,   ROCCA\nstazione,  9500, ... ,   ROCCA", "Give each station its own name."},
    Explanation{W, "empty-value", "An empty number field: the reader takes it for 0.", "pendenza,  3000,  ",
                "Write the value, or 0."},
    Explanation{W, "long-name",
                "A station name longer than 60 characters, or a sign text longer than 120: no timetable or sign "
                "holds them, and the tables of 'check' and 'plot' grow as wide.",
                "stazione,  9500, ... ,   ROCCAROCCAROCCA... (5000 characters)", "Shorten it."},
    Explanation{W, "missing-setting",
                "A train setting ('numero vetture', 'percentuale massa frenata', 'sabbia', 'orologio') is not given: "
                "the compiler stores 0.",
                "[generale]\nnumero vetture,    4", "Add the line."},
    Explanation{W, "mountain-joined",
                "A mountain stretch starts 150 m or less after the previous one ends: the compiler makes it a "
                "stretch of kind 3.",
                "montagna,  3000,  5000,  12\nmontagna,  5100,  6000,  2", "Join the stretches, or leave more room."},
    Explanation{W, "no-fine",
                "The file does not end with [fine]. The reader never interprets the last field of a file as a "
                "keyword: a keyword or header alone on the last line is lost, though the values of a keyword line "
                "there are read.",
                "abbattimento,  7500,  150  (as the last line)", "End the file with a line [fine]."},
    Explanation{W, "no-running-time",
                "A leg's arrival is no later than the departure before it: the arrival is the station's time less "
                "its stop (at the terminus its time), the departure the previous station's time.",
                "stazione,  0, ... ,  1,  8,  1,  0,   VALBRUNA\nstazione,  9500, ... ,  0,  8,  1,  0,   ROCCA",
                "Give the station the time the train leaves it (its arrival plus its stop)."},
    Explanation{W, "no-stop",
                "An intermediate station's stop is 0 s while the train stops at another: with 0 the train passes "
                "the station without stopping.",
                "stazione,  5000, ... ,  0,  8,  5,  0,   PIANA", "Give the stop in seconds: 60 for a minute."},
    Explanation{W, "overwritten-marker",
                "A signal's advance markers (100 to 400 m before it) or a station's approach markers fall on a cell "
                "where another object's markers stand; the later one replaces the earlier.",
                "segnale,  3200, ...\nsegnale,  3300, ...", "Move the signals further apart."},
    Explanation{
        W, "progressive",
        "A kilometric progressive that counts down (sense 1) from a reference of 1000 or less reaches more than 1 km "
        "below 0 on the route: "
        "its reference, the kilometre value at route position 0, is in metres, and one written in "
        "kilometres (49 for 49.6 km) sends the posts below 0 at once.",
        "progressiva chilometrica due,  12700,  49,  1", "Give the reference in metres: 49600."},
    Explanation{W, "route-length",
                "The route is 0 m long, or most objects of the two files stand beyond its end: the route length is "
                "in metres, and a length of 32 meant as 32 km leaves every object outside.",
                "lunghezza percorso,  32", "Give the length in metres: lunghezza percorso,  32000."},
    Explanation{W, "short-stop",
                "An intermediate station's stop is shorter than 15 s. Stops are in seconds: 1 for a minute is a slip. "
                "A stop of 20 s at a halt is common.",
                "stazione,  5000, ... ,  1,  8,  5,  0,   PIANA", "Give the stop in seconds: 60 for a minute."},
    Explanation{
        W, "sign-text", "A sign text is empty, or is not one to three lines each in parentheses, as signs are written.",
        "cartello_indicatore,  650,     P.L. km 0+662", "Write cartello_indicatore,  650,     (P.L.)(km 0+662)."},
    Explanation{W, "slowdown-length",
                "A slowdown longer than 3000 m whose length is larger than its start: the third value is the "
                "slowdown's length, and one written as the position where it ends makes it far too long.",
                "rallentamento,  4000,  30,  4600,  1,  1,  0",
                "Give the length: a slowdown from 4000 to 4600 m is rallentamento,  4000,  30,  600, ..."},
    Explanation{W, "slowdown-speed",
                "A slowdown is no slower than the line limit over its stretch, so it slows nothing; or its speed is "
                "0 km/h, which stops the train on the open line.",
                "velocita,  0,  110\nrallentamento,  4000,  120,  600,  1,  1,  0",
                "Give the speed to keep over the slowdown, below the line limit: 30."},
    Explanation{W, "speed-limit",
                "A line limit above 400 km/h, faster than any railway allows (the fastest lines allow about "
                "350 km/h), or one of 0 km/h before the last station, where the train cannot run. A limit of "
                "30 km/h on a branch line is a railway, not a mistake.",
                "velocita,  0,  1000", "Give the limit in km/h: velocita,  0,  100."},
    Explanation{W, "steep-gradient",
                "A gradient steeper than 80 per mille, more than any railway without a rack. Gradients are in per "
                "mille (‰): 2.5 % is written 25. A mountain line of 60 ‰ is a railway, not a mistake.",
                "pendenza,  3000,  120", "Give the gradient in per mille."},
    Explanation{W, "timetable",
                "(check) The running-time model cannot run a leg in its scheduled time, or cannot run it at all: the "
                "speed in force is 0 km/h, or a gradient is steeper than the train can climb or brake on. A note "
                "names the line that makes a leg impossible.",
                "stazione,  44200, ... ,  0,  7,  24,  0,   ODELMA P.LIVARA",
                "Give the leg more time, or the train more speed."},
    Explanation{
        W, "timetable-order",
        "A station's time comes before the previous station's. A station's time is its departure; the "
        "terminus's is its arrival.",
        "stazione,  5300, ... ,  60,  6,  39,  0,   LUVERA\nstazione,  12800, ... ,  60,  6,  30,  0,   BRENDAGO",
        "Correct the time."},
    Explanation{W, "trailing-blanks", "A name or sign text ends in blanks, which the compiler stores with it.",
                "stazione, ... ,   ROCCA   ", "Delete the blanks at the end of the line."},
    Explanation{W, "unaligned",
                "A position is not a multiple of 50 m: the compiler moves the object to its cell (a change of "
                "gradient, limit or adhesion to its cell boundary).",
                "segnale,  3210, ...", "Give positions in multiples of 50 m."},
    Explanation{W, "unknown-header",
                "A section header the file does not have, or one of the other file. Headers are for people only, but "
                "one that contains a keyword is read as that keyword.",
                "[stazione]", "Use the file's headers: [stazioni]."},
};

}  // namespace

std::span<const Explanation> warning_explanations() { return kWarnings; }

}  // namespace scenariogen
