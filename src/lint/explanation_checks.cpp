// The strict check's errors, in plain words.
#include <array>

#include "lint/explanations.h"

namespace scenariogen {

namespace {

constexpr ExplanationKind E = ExplanationKind::kCheckError;

constexpr std::array kChecks{
    Explanation{E, "before-generale",
                "A keyword line stands before [generale]. The reader skips everything before the first field that "
                "holds [generale], so the line is lost.",
                "lunghezza percorso,  10000\n[generale]", "Move the line below [generale]."},
    Explanation{E, "cell-one",
                "An object falls in cell 1 (0 to 50 m), which holds the scenario's header values: the compiler ends "
                "the run with error 1250 and writes nothing.",
                "abbattimento,  50,  0", "Place the object past the first 50 m."},
    Explanation{E, "cleared-progressives",
                "Two kilometric progressives start at the same position, the largest start of the three. The "
                "compiler orders them by start and, when it cannot, clears all three.",
                "progressiva chilometrica uno,  5000,  0,  0\nprogressiva chilometrica due,  5000,  49600,  1",
                "Give each progressive its own start, or 0, 0, 0 for one that is not used."},
    Explanation{E, "contains-keyword",
                "A field is read as a keyword because it contains one: the reader looks whether a field contains a "
                "keyword's text, so 'REM segnale' is a signal and '[stazione]' a station, and it takes the fields "
                "that follow as its values.",
                "-- the home signal, segnale di protezione",
                "Write comments without commas, and headers as the file has them ([stazioni])."},
    Explanation{E, "curve-class",
                "A curve keyword names a class other than 1 to 6. The class is the digit after curvad (right) or "
                "curvas (left): 1 is a radius of about 10000 m, 6 one of 333 m.",
                "curvad7,  2000,  500", "Write a class from 1 to 6 (error 103)."},
    Explanation{E, "curve-overlap",
                "A curve starts before the previous one ends (its start plus its length). The compiler turns only the "
                "metres after that end.",
                "curvad3,  2000,  500\ncurvas4,  2300,  300",
                "Start the curve at or after the previous one's end (2500)."},
    Explanation{E, "dash-in-keyword",
                "A keyword holds '-', so the reader takes the field for a comment and skips it, and the line's values "
                "are read as keywords.",
                "cartello-indicatore,  650,  (P.L.)", "Write the keyword as the format has it: cartello_indicatore."},
    Explanation{E, "empty-object",
                "A mountain stretch marks no cell (its end is less than a cell after its start), or a slowdown starts "
                "and ends in the same 50 m cell, so its start overwrites its end.",
                "rallentamento,  4000,  30,  20,  0,  0,  0", "Make the stretch or the slowdown 50 m long at least."},
    Explanation{E, "encoding",
                "The file is in an encoding the compiler cannot read (UTF-16), or holds a character that Windows-1252 "
                "does not have. UTF-8 files whose characters all exist in Windows-1252 are read, with a note.",
                "stazione, ... ,   ŁÓDŹ", "Save the file as Windows-1252 (or UTF-8) and use letters it has."},
    Explanation{E, "field-count",
                "A line holds more or fewer values than its keyword takes. The reader does not read lines: a value "
                "too few takes the next line's first field, a value too many is read as a keyword.",
                "pendenza,  3000", "Give every value, each after a comma: pendenza,  3000,  8."},
    Explanation{E, "ignored-value",
                "The compiler replaces the value: attribute 15 is stored as 0 at the first station and for a station "
                "shorter than 600 m, attribute 14 as 0 at the first station and for types 5 to 8, tempo as 0 unless "
                "sx is 2 (and 1 to 100 as 101), f_ta as 0 for a slowdown up to 1500 m.",
                "segnale,  3200,  1,  4,  1,  0,  0,  0,  0,  0,  0,  40", "Write the value the compiler stores."},
    Explanation{E, "keyword-case",
                "The general section's keywords (progressiva, sfondo, ripetizione segnali) are recognised only in "
                "lower case.",
                "Sfondo uno,  1", "Write the keyword in lower case."},
    Explanation{E, "missing-generale",
                "The file has no [generale] header. The reader reads nothing before it, so nothing of the file is "
                "read.",
                "[Generale ]", "Begin the file with [generale]."},
    Explanation{E, "missing-line",
                "A line that the route needs is missing: 'lunghezza percorso' (the route has no cells), 'velocita' "
                "(the limit is 0 km/h everywhere) or 'aderenza' (the adhesion is 0 everywhere).",
                "[generale]\n[curve]", "Add the line: lunghezza percorso,  10000."},
    Explanation{E, "missing-name", "A station has no name.", "stazione,  9500,  12,  600, ... ,  8,  9,  0,",
                "Write the name after the last comma."},
    Explanation{E, "mountain-overlap",
                "A mountain stretch starts before the previous one ends. The compiler makes it a stretch of kind 3.",
                "montagna,  3000,  5000,  12\nmontagna,  4500,  6000,  2", "Start it after the previous end."},
    Explanation{E, "never-read",
                "A keyword is the last field of the file. The reader never interprets the last field, which is why "
                "a file ends with [fine].",
                "abbattimento,  7500,  150\nsegnale", "End the file with [fine]."},
    Explanation{E, "not-a-number",
                "A value is not a whole number: digits with an optional sign. The compiler stops reading there "
                "(error 25).",
                "pendenza,  3000,  6.5", "Write a whole number in the field's unit."},
    Explanation{E, "not-from-start",
                "The first line of the speed or adhesion list does not stand at 0 m: before it the limit is 0 km/h, "
                "or the adhesion 0.",
                "velocita,  500,  110", "Begin the list at 0 m: velocita,  0,  110."},
    Explanation{E, "not-multiple",
                "A position or length must be a multiple of 50 m (progressives, signal repetition, station "
                "positions) or of 100 m (station lengths): errors 2, 3, 4, 8 and 9.",
                "stazione,  9510,  12,  600, ...", "Round it: 9500."},
    Explanation{E, "occupied-cell",
                "The route is cut into cells of 50 m and each cell holds one object (signal, board, sign, slowdown "
                "point, code-drop point, station end). This object falls in a cell another one holds: errors 6, 7 "
                "and 16 to 21. A note points at the other object.",
                "cartello_indicatore,  1000,  (P.L.)\nsegnale,  1000,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0",
                "Move one of the two objects to another cell, 50 m away."},
    Explanation{E, "out-of-order",
                "A gradient, speed limit, adhesion or station line does not come after the previous one of its list, "
                "or falls in the same 50 m cell: these lists go in increasing order of position.",
                "pendenza,  5000,  -4\npendenza,  3000,  8",
                "Put the lines in order of position, 50 m apart at least."},
    Explanation{E, "out-of-range",
                "A value lies outside what its field can store or mean: a gradient outside -100 to 155 per mille, a "
                "speed that is no multiple of 5 km/h, an hour above 23, a byte above 255.",
                "pendenza,  3000,  180", "Give a value within the field's range (see 'scenariogen explain KEYWORD')."},
    Explanation{E, "outside-route",
                "An object lies outside the route's cells (error 15) or its end marker before cell 2 (error 24). The "
                "cells reach 7000 m past the route's length; a line needs 100 m of room before their end, a "
                "station 800 m, and a signal stands at 325 m at least.",
                "lunghezza percorso,  10000\n...\nsegnale,  17000,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0",
                "Check the position, and the route length (in metres)."},
    Explanation{E, "overwritten-object",
                "A station's end marker goes to a cell that holds another object, and replaces it: the compiler does "
                "not look whether that cell is taken.",
                "segnale,  9750,  ...\nstazione,  9500,  12,  600, ...",
                "Move the object out of the station's last cell."},
    Explanation{E, "quote",
                "A text that begins with a double quote runs to the closing quote, and the reader drops what follows "
                "it up to the comma; a quote left open takes the rest of the line.",
                "cartello_indicatore,  650,  \"P.L.\" km 0+662", "Write sign texts and names without quotes."},
    Explanation{E, "repeated-setting", "A setting is given twice: the reader keeps the later value.",
                "numero vetture,    4\nnumero vetture,    6", "Keep one line."},
    Explanation{E, "station-spacing",
                "A station's area starts less than 350 m after the previous station's area ends (error 22).",
                "stazione,  0,  4,  600, ...\nstazione,  900,  12,  600, ...", "Move the stations apart."},
    Explanation{E, "table-full",
                "More sign texts (80), stations and sign texts together (78), or mountain stretches (80) than the "
                "tables hold (error 10).",
                "(the 81st sign board)", "Leave some out."},
    Explanation{E, "too-large", "The file is larger than 64 MiB, the most the compiler reads.", "(a file of 65 MiB)",
                "Check that the right file is given."},
    Explanation{E, "unknown-keyword",
                "The line's first field is no keyword of this file. The message suggests the nearest keyword when "
                "there is one.",
                "pendneza,  5000,  -4", "Correct the spelling: pendenza."},
    Explanation{E, "wrong-file",
                "The keyword belongs to the other description: the line description holds the line, the train "
                "description the train, its limits, stations, signals and slowdowns.",
                "velocita,  0,  110  (in the line description)", "Move the line to the other file."},
    Explanation{E, "wrong-section",
                "The keyword stands where the reader does not look for it: the general settings only between "
                "[generale] and the next header, the line's objects only after that header.",
                "[generale]\nlunghezza percorso,  10000\npendenza,  0,  0",
                "Put a header such as [curve] before the objects."},
};

}  // namespace

std::span<const Explanation> check_error_explanations() { return kChecks; }

}  // namespace scenariogen
