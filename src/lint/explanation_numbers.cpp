// The compiler's error numbers, in plain words.
#include <array>

#include "lint/explanations.h"

namespace scenariogen {

namespace {

constexpr ExplanationKind N = ExplanationKind::kErrorNumber;

constexpr std::array kNumbers{
    Explanation{N, "1",
                "The route length of 'lunghezza percorso' is more than 1000000 m (1000 km), the longest route the "
                "format sizes. The route then has no cells and nothing is written.",
                "lunghezza percorso,  1200000", "Give the length in metres, at most 1000000."},
    Explanation{N, "2",
                "A kilometric progressive starts, or refers to a kilometre value, at a position that is not a "
                "multiple of 50 m. The compiler finds it at the end of the train description.",
                "progressiva chilometrica due,  12710,  49600,  1",
                "Round the start and the reference to a multiple of 50 m (12700)."},
    Explanation{N, "3",
                "The first position of the signal repetition ('ripetizione segnali') is not a multiple of 50 m.",
                "ripetizione segnali 4 codici,  1020,  9000", "Round it to a multiple of 50 m."},
    Explanation{N, "4",
                "The second position of the signal repetition ('ripetizione segnali') is not a multiple of 50 m.",
                "ripetizione segnali 4 codici,  1000,  9010",
                "Round it to a multiple of 50 m, or give 0 for no cab signalling."},
    Explanation{N, "5", "The signal-repetition keyword names neither 4 nor 9 codes: the digit 4 or 9 must stand in it.",
                "ripetizione segnali codici,  0,  0",
                "Write 'ripetizione segnali 4 codici' or 'ripetizione segnali 9 codici'."},
    Explanation{N, "6",
                "A sign board ('cartello_indicatore') falls in a 50 m cell that another object already holds. "
                "Each cell holds one object.",
                "indicatori_vmax,  1500,  100,  110,  110,  0,    ,    ,    ,  0\n"
                "cartello_indicatore,  1510,     (   P.L.  )",
                "Move one of the two objects to another 50 m cell."},
    Explanation{N, "7",
                "A code-drop point ('abbattimento') falls in a cell that another object already holds. A code-drop "
                "point goes to the cell that ends at its position.",
                "segnale,  7450,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0\nabbattimento,  7500,  150",
                "Move the code-drop point to a free cell, 50 m or more away."},
    Explanation{N, "8", "A station's position is not a multiple of 50 m.", "stazione,  9510,  12,  600, ...",
                "Round the position to a multiple of 50 m."},
    Explanation{N, "9", "A station's length is not a multiple of 100 m.", "stazione,  9500,  12,  650, ...",
                "Round the length to a multiple of 100 m."},
    Explanation{N, "10",
                "A fixed table is full. The station table holds stations and sign texts together, 78 at most, sign "
                "texts 80 at most; the line holds 80 mountain stretches at most.",
                "(the 79th station, sign text or mountain stretch)", "Leave out sign boards or mountain stretches."},
    Explanation{N, "11",
                "A signal stands within 1000 m before a slowdown's warning point, and the compiler finds no cell "
                "just before the signal for the code-drop point it places there.",
                "segnale,  3200,  ...  (with the two cells before it taken)",
                "Free one of the two cells (100 m) before the signal."},
    Explanation{N, "12",
                "Before a slowdown's start the compiler places three code-drop points, about 300, 600 and 950 m "
                "before it, each in one of three cells; all three cells of one of them are taken.",
                "rallentamento,  4000,  30,  600,  1,  0,  0  (with cells 3650 to 3750 m taken)",
                "Move the slowdown, or the objects in the cells before it."},
    Explanation{N, "13",
                "Along a slowdown slower than 110 km/h the compiler places a code-drop point every 400 m, and one "
                "before the first signal after its end; one of them found no free cell. A slowdown whose start and "
                "end share a cell has no end at all.",
                "rallentamento,  4000,  30,  20,  0,  0,  0", "Make the slowdown longer, or free the cells along it."},
    Explanation{N, "15",
                "An object lies outside the route's cells: a negative position, a position within 100 m of the end "
                "of the last cell (800 m for a station), a signal before 325 m, a curve past the plan's end. The "
                "cells reach 7000 m past the route's length.",
                "lunghezza percorso,  10000\n...\npendenza,  17000,  5",
                "Give positions in metres within the route, or a longer route length."},
    Explanation{N, "16", "A signal falls in a cell that another object already holds.",
                "cartello_indicatore,  1000,     (P.L.)\nsegnale,  1000,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0",
                "Move the signal or the other object to another 50 m cell."},
    Explanation{N, "17", "A slowdown's warning point, 1200 m before its start, falls in a cell that is taken.",
                "segnale,  2800,  ...\nrallentamento,  4000,  30,  600,  1,  0,  0",
                "Move the slowdown or the object."},
    Explanation{N, "18", "A slowdown's start falls in a cell that is taken.",
                "segnale,  4000,  ...\nrallentamento,  4000,  30,  600,  1,  0,  0",
                "Move the slowdown or the object."},
    Explanation{N, "19", "A slowdown's end (its position plus its length) falls in a cell that is taken.",
                "segnale,  4600,  ...\nrallentamento,  4000,  30,  600,  1,  0,  0",
                "Change the slowdown's length or move the object."},
    Explanation{N, "20",
                "A slowdown with f_ta not 0 takes the four cells before its warning point, and one of them is taken.",
                "rallentamento,  4000,  30,  600,  1,  1,  0", "Give f_ta 0, or free the four cells (200 m)."},
    Explanation{N, "21", "A speed-indicator board falls in a cell that another object already holds.",
                "cartello_indicatore,  600,  (P.L.)\nindicatori_vmax,  600,  100,  110,  110,  0,    ,    ,    ,  0",
                "Move one of them to another 50 m cell."},
    Explanation{N, "22",
                "A station's area starts less than 350 m after the previous station's area ends. The area runs "
                "half the station's length each side of its position (types 5 to 8 differ).",
                "stazione,  0,  4,  600, ...\nstazione,  900,  12,  600, ...",
                "Move the stations apart, or give them shorter lengths."},
    Explanation{N, "24",
                "A station's area ends within 100 m of the start of the route, so its end marker would fall in cell 1 "
                "or before.",
                "stazione,  0,  12,  100, ...", "Give the first station a length of 300 m or more, or move it on."},
    Explanation{N, "25",
                "The description could not be read: a value that is not a whole number, a value too large for its "
                "field, a file that ends in the middle of a line, or no 'lunghezza percorso' line. The compiler "
                "stops reading there.",
                "pendenza,  3000,  6.5", "Write whole numbers, each after a comma, and end the file with [fine]."},
    Explanation{N, "101", "The line description file does not exist.", "scenariogen compile missing.txt treno.txt",
                "Give the path of the line description."},
    Explanation{N, "102",
                "The line description has no [generale] header: the reader reads nothing before it, so it reads "
                "nothing at all.",
                "lunghezza percorso,  10000  (with no [generale] above it)", "Begin the file with [generale]."},
    Explanation{N, "103",
                "A curve keyword holds none of the digits 1 to 6, its class; or the plan grows past 1000000 m.",
                "curvad,  2000,  500", "Write the class after d or s: curvad3, curvas5."},
    Explanation{N, "1250",
                "Cell 1 (0 to 50 m) holds the scenario's header values, and an object or a code-drop point was placed "
                "there. The compiler ends the run with ' Errore n. 1250' and writes nothing.",
                "abbattimento,  50,  0", "Move the object past the first 50 m."},
    Explanation{N, "1251",
                "The slots for the identity codes in cell 1 were already taken. The compiler ends the run with "
                "' Errore n. 1251' and writes nothing.",
                "(an object in cell 1)", "Move the object past the first 50 m."},
};

}  // namespace

std::span<const Explanation> error_number_explanations() { return kNumbers; }

}  // namespace scenariogen
