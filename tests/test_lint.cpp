// The strict check against the mistakes route authors make: each mistake is
// a one- or two-line change to a small line and train, and gets exactly the
// diagnostics listed, at their line and column, with their severity and name.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <sstream>

#include "compiler/diagnostic_format.h"
#include "lint/check.h"
#include "lint_fixtures.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using testing::edited;
using testing::Edits;
using testing::kDeleted;
using testing::kLineLines;
using testing::kTrainLines;

constexpr SourceFile L = SourceFile::kLine;
constexpr SourceFile T = SourceFile::kTrain;

struct Expected {
    SourceFile file;
    int line;
    int column;
    Severity severity;
    std::string name;
};

Expected error(SourceFile f, int line, int column, std::string name) {
    return {f, line, column, Severity::kError, std::move(name)};
}
Expected warning(SourceFile f, int line, int column, std::string name) {
    return {f, line, column, Severity::kWarning, std::move(name)};
}

struct Mistake {
    const char* what;
    Edits line_edits;
    Edits train_edits;
    std::vector<Expected> expected;  // every diagnostic but the notes, in order
    std::string says = {};           // a piece of the first one's message
    int note_line = 0;               // the line its first note points at
    int compiler_error = 0;          // the number the compiler records, when the message names one
};

std::string describe(const Diagnostics& diagnostics, const std::string& line, const std::string& train) {
    std::string text;
    for (const Diagnostic& d : diagnostics) {
        text += format_diagnostic(d, DiagnosticSources{"l.txt", "t.txt", line, train});
    }
    return text;
}

Diagnostics without_notes(const Diagnostics& all) {
    Diagnostics mains;
    for (const Diagnostic& d : all) {
        if (d.severity != Severity::kNote) mains.push_back(d);
    }
    return mains;
}

void expect_mistake(const Mistake& m) {
    const std::string line = edited(kLineLines, m.line_edits);
    const std::string train = edited(kTrainLines, m.train_edits);
    const Diagnostics all = check_descriptions(line, train);
    const Diagnostics got = without_notes(all);
    SCOPED_TRACE(std::string(m.what) + "\n" + describe(all, line, train));
    ASSERT_EQ(got.size(), m.expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        const Expected& e = m.expected[i];
        ASSERT_TRUE(got[i].where.has_value());
        EXPECT_EQ(got[i].where->file, e.file) << i;
        EXPECT_EQ(got[i].where->line, e.line) << i;
        EXPECT_EQ(got[i].where->column, e.column) << i;
        EXPECT_EQ(got[i].severity, e.severity) << i;
        EXPECT_EQ(got[i].name, e.name) << i;
        EXPECT_EQ(got[i].number, 0) << i;
    }
    if (!m.says.empty()) {
        EXPECT_NE(got.front().message.find(m.says), std::string::npos) << got.front().message;
    }
    if (m.note_line != 0) {
        const auto note =
            std::find_if(all.begin(), all.end(), [](const Diagnostic& d) { return d.severity == Severity::kNote; });
        ASSERT_NE(note, all.end());
        EXPECT_EQ(note->where->line, m.note_line);
    }
    if (m.compiler_error != 0) {
        const testing::Compiled compiled = testing::compile_texts(line, train);
        EXPECT_EQ(compiled.s.last_error, m.compiler_error);
    }
}

void expect_mistakes(const std::vector<Mistake>& mistakes) {
    for (const Mistake& m : mistakes) expect_mistake(m);
}

// The second station's line, ROCCA, with some of its 16 numbers replaced
// (index: text) or another name field.
std::string rocca(const std::map<int, std::string>& numbers = {}, const std::string& name = "   ROCCA") {
    std::vector<std::string> values{"9500", "12", "600", "0", "0", "0", "1", "1",
                                    "0",    "4",  "1",   "1", "0", "8", "9", "0"};
    for (const auto& [k, text] : numbers) values[static_cast<std::size_t>(k)] = text;
    std::string line = "stazione";
    for (const std::string& value : values) line += ",  " + value;
    return line + "," + name;
}
const std::string kSignal = "  1,  4,  1,  0,  0,  0,  0,  0,  0,  0";  // the values of a signal after its position

TEST(Lint, TheFixturesAndTheScenarioAndTheExamplesPassClean) {
    EXPECT_TRUE(check_descriptions(edited(kLineLines, {}), edited(kTrainLines, {})).empty());
    const std::string own_line = testing::own_line_text();
    const std::string own_train = testing::own_train_text();
    const Diagnostics own = check_descriptions(own_line, own_train);
    EXPECT_TRUE(own.empty()) << describe(own, own_line, own_train);
    const std::string dir = std::string(SCENARIOGEN_SOURCE_DIR) + "/examples/";
    const std::string line = testing::slurp(dir + "valbruna_linea.txt");
    const std::string train = testing::slurp(dir + "valbruna_treno.txt");
    ASSERT_FALSE(line.empty());
    const Diagnostics examples = check_descriptions(line, train);
    EXPECT_TRUE(examples.empty()) << describe(examples, line, train);
}

TEST(Lint, KeywordsWrittenWrong) {
    expect_mistakes({
        {"a typo",
         {{15, "pendneza,  3000,  8"}},
         {},
         {error(L, 15, 1, "unknown-keyword")},
         "unknown keyword 'pendneza'; did you mean 'pendenza'?"},
        {"two letters swapped",
         {},
         {{18, "segnael,  2500," + kSignal}},
         {error(T, 18, 1, "unknown-keyword")},
         "did you mean 'segnale'?"},
        {"a letter missing",
         {},
         {{13, "stazone,  9500,  12,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  0,  8,  9,  0,   R"}},
         {error(T, 13, 1, "unknown-keyword")},
         "did you mean 'stazione'?"},
        {"blanks and capitals are fine", {{15, "  PENDENZA ,  3000,  8"}}, {{9, "Velocit\xE0,  0,  110"}}, {}},
        {"a keyword inside a longer word",
         {},
         {{18, "nosegnale,  2500," + kSignal}},
         {error(T, 18, 1, "contains-keyword")},
         "'nosegnale' is taken for the keyword 'segnale'"},
        {"a comment mark before a keyword",
         {},
         {{18, "REM segnale,  2500," + kSignal}, {19, "# segnale,  4800," + kSignal}},
         {error(T, 18, 1, "contains-keyword"), error(T, 19, 1, "contains-keyword")}},
        {"a comment without '-'",
         {{14, "# salita\npendenza,  0,  0"}},
         {},
         {error(L, 14, 1, "unknown-keyword")},
         "a comment is a line that holds '-'"},
        {"a keyword the reader wants in lower case",
         {{6, "Sfondo uno,  1"}},
         {},
         {error(L, 6, 1, "keyword-case")},
         "in lower case"},
        {"a keyword of the other file", {{23, "velocita,  1500,  80"}}, {}, {error(L, 23, 1, "wrong-file")}},
        {"a general setting among the objects",
         {{12, "curvas4,  6000,  300\nsfondo due,  0"}},
         {},
         {error(L, 13, 1, "wrong-section")},
         "ended at line 10"},
        {"a keyword with a dash is a comment",
         {{23, "cartello-indicatore,  1500,     (a)"}},
         {},
         {error(L, 23, 1, "dash-in-keyword")},
         "did you mean 'cartello_indicatore'?"},
        {"a commented-out line is fine", {}, {{18, "-- segnale,  2500," + kSignal}}, {}},
        {"the third dash field in a row is read",
         {},
         {{16, "----\n----\n-- segnale,  2500," + kSignal}},
         {error(T, 18, 1, "contains-keyword")},
         "skips only 2 fields"},
        {"a header spelt like a keyword",
         {},
         {{11, "[stazione]"}},
         {error(T, 11, 1, "contains-keyword")},
         "did you mean '[stazioni]'?"},
        {"a header misspelt",
         {{13, "[pendenz]"}},
         {},
         {warning(L, 13, 1, "unknown-header")},
         "did you mean '[pendenze]'?"},
        {"a header of the other file", {}, {{16, "[cartelli]"}}, {warning(T, 16, 1, "unknown-header")}},
        {"a keyword before [generale]",
         {{1, "lunghezza percorso,  9000\n[generale]"}},
         {},
         {error(L, 1, 1, "before-generale")}},
    });
}

TEST(Lint, SectionsAndFileEnds) {
    expect_mistakes({
        {"no header after [generale]",
         {{10, kDeleted}, {13, kDeleted}, {18, kDeleted}, {19, kDeleted}, {20, kDeleted}, {22, kDeleted}},
         {},
         {error(L, 10, 1, "wrong-section"), error(L, 11, 1, "wrong-section"), error(L, 12, 1, "wrong-section"),
          error(L, 13, 1, "wrong-section"), error(L, 14, 1, "wrong-section"), error(L, 15, 1, "wrong-section"),
          error(L, 16, 1, "wrong-section"), error(L, 17, 1, "wrong-section")},
         "no section header follows [generale]"},
        {"the train's [generale] misspelt",
         {},
         {{1, "[genrale]"}},
         {error(T, 1, 1, "missing-generale")},
         "no speed limit, no station"},
        {"the line's [generale] misspelt",
         {{1, "[generali]"}},
         {},
         {error(L, 1, 1, "missing-generale")},
         "error 102",
         0,
         102},
        {"a train file without headers", {}, {{1, kDeleted}}, {error(T, 1, 1, "missing-generale")}},
        {"a bare keyword as the last line", {}, {{23, "segnale"}}, {error(T, 23, 1, "never-read")}},
        {"no [fine]", {}, {{23, kDeleted}}, {warning(T, 22, 1, "no-fine")}},
        {"a dash field among the last fields of the general section",
         {{2, "-- a, -- b"}, {3, kDeleted},  {4, kDeleted},  {5, kDeleted},  {6, kDeleted},  {7, kDeleted},
          {8, kDeleted},     {9, kDeleted},  {10, kDeleted}, {11, kDeleted}, {12, kDeleted}, {13, kDeleted},
          {14, kDeleted},    {15, kDeleted}, {16, kDeleted}, {17, kDeleted}, {18, kDeleted}, {19, kDeleted},
          {20, kDeleted},    {21, kDeleted}, {22, kDeleted}, {23, kDeleted}, {24, kDeleted}},
         {},
         {error(L, 1, 1, "missing-line"), warning(L, 2, 1, "no-fine"), error(L, 2, 7, "never-read")}},
    });
}

TEST(Lint, ValuesTheFormatCannotHold) {
    expect_mistakes({
        {"a gradient above 155",
         {{15, "pendenza,  3000,  180"}},
         {},
         {error(L, 15, 19, "out-of-range")},
         "which makes it -76 ‰"},
        {"a gradient below -100",
         {{15, "pendenza,  3000,  -120"}},
         {},
         {error(L, 15, 19, "out-of-range")},
         "which makes it 136 ‰"},
        {"a gradient in the thousands",
         {{15, "pendenza,  3000,  40000"}},
         {},
         {error(L, 15, 19, "out-of-range")},
         "which makes it 64 ‰"},
        {"an adhesion beyond a byte",
         {},
         {{7, "aderenza,  0,  500"}},
         {error(T, 7, 16, "out-of-range")},
         "which makes it 244"},
        {"a clock past midnight",
         {},
         {{5, "orologio,    25  70  99"}},
         {error(T, 5, 14, "out-of-range"), error(T, 5, 18, "out-of-range"), error(T, 5, 22, "out-of-range")}},
        {"a sand value beyond 16 bits",
         {},
         {{4, "sabbia,    40000"}},
         {error(T, 4, 12, "out-of-range")},
         "error 25",
         0,
         25},
        {"a station type beyond a byte",
         {},
         {{13, rocca({{1, "300"}})}},
         {error(T, 13, 19, "out-of-range")},
         "one byte"},
        {"a speed between steps of 5",
         {},
         {{10, "velocita,  6000,  82"}},
         {error(T, 10, 19, "out-of-range")},
         "which makes it 80 km/h"},
        {"a speed beyond the format",
         {},
         {{10, "velocita,  6000,  2000"}},
         {error(T, 10, 19, "out-of-range")},
         "error 25",
         0,
         25},
        {"a right-hand speed between steps of 5",
         {{21, "indicatori_vmax,  600,  100,  110,  110,  0,  12,    ,    ,  0"}},
         {},
         {error(L, 21, 47, "out-of-range")},
         "which makes it 10 km/h"},
        {"a right-hand stripe count of two digits",
         {{21, "indicatori_vmax,  600,  100,  110,  110,  0,    ,    ,    ,  10"}},
         {},
         {error(L, 21, 62, "out-of-range")}},
        {"a signal digit of two digits",
         {},
         {{18, "segnale,  2500,  1,  4,  1,  0,  0,  0,  12,  0,  0,  0"}},
         {error(T, 18, 42, "out-of-range")}},
        {"a signal side code that spills into rapp",
         {},
         {{18, "segnale,  2500,  1,  4,  1,  0,  0,  3,  0,  0,  0,  0"}},
         {error(T, 18, 38, "out-of-range")}},
        {"a negative position", {{15, "pendenza,  -50,  8"}}, {}, {error(L, 15, 12, "out-of-range")}, "is negative"},
        {"a route longer than the format allows",
         {{2, "lunghezza percorso,  1000001"}},
         {},
         {error(L, 2, 22, "out-of-range")},
         "error 1",
         0,
         1},
        {"a coach count of 0", {}, {{2, "numero vetture,    0"}}, {error(T, 2, 20, "out-of-range")}},
        {"a progressive's sense other than 0 or 1",
         {{4, "progressiva chilometrica due,  0,  0,  2"}},
         {},
         {error(L, 4, 40, "out-of-range")}},
        {"a code-drop value below 0", {}, {{22, "abbattimento,  7500,  -5"}}, {error(T, 22, 23, "out-of-range")}},
    });
}

TEST(Lint, FieldsMissingMalformedOrTooMany) {
    expect_mistakes({
        {"text where a number belongs",
         {{15, "pendenza,  tremila,  8"}},
         {},
         {error(L, 15, 12, "not-a-number")},
         "'tremila' is not a whole number",
         0,
         25},
        {"a decimal point", {{15, "pendenza,  3000,  8.5"}}, {}, {error(L, 15, 19, "not-a-number")}},
        {"a number beyond 32 bits",
         {{15, "pendenza,  99999999999,  8"}},
         {},
         {error(L, 15, 12, "out-of-range")},
         "32 bits"},
        {"a value missing, the next line's keyword taken for it",
         {{15, "pendenza,  3000"}},
         {},
         {error(L, 15, 16, "field-count")},
         "takes 2 values (position, gradient); this line has 1",
         0,
         25},
        {"a value too many", {{15, "pendenza,  3000,  8,  5"}}, {}, {error(L, 15, 23, "field-count")}},
        {"a station with two extra numbers",
         {},
         {{12, "stazione,  0,  4,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  8,  1,  0,  21,  0,   VALBRUNA"}},
         {error(T, 12, 83, "field-count")},
         "it takes '21' for the name"},
        {"a station without a name",
         {},
         {{12, "stazione,  0,  4,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  8,  1,  0"}},
         {error(T, 12, 75, "field-count")},
         "the name is missing: the reader would take the next line's first field"},
        {"a number with a blank in it",
         {},
         {{10, "velocita,  6 000,  80"}},
         {error(T, 10, 20, "field-count")},
         "a blank"},
        {"values separated by blanks only", {}, {{10, "velocita,  6000  80"}}, {warning(T, 10, 12, "blank-separated")}},
        {"a trailing comma leaves the last value empty",
         {{15, "pendenza,  3000,"}},
         {},
         {warning(L, 15, 17, "empty-value")}},
        {"a left-hand speed left empty",
         {{21, "indicatori_vmax,  600,    ,  110,  110,  0,    ,    ,    ,  0"}},
         {},
         {warning(L, 21, 27, "empty-value")}},
        {"a name in quotes may hold a comma", {}, {{13, rocca({}, "\"ROCCA, ALTA\"")}}, {}},
        {"text after a closing quote", {}, {{13, rocca({}, "\"ROCCA\" ALTA")}}, {error(T, 13, 80, "quote")}},
        {"a name ending in blanks", {}, {{13, rocca({}, "   ROCCA  ")}}, {warning(T, 13, 83, "trailing-blanks")}},
        {"a sign text with a comma",
         {{23, "cartello_indicatore,  1500,     (P.L.)(km 1,5)"}},
         {},
         {error(L, 23, 45, "field-count")}},
        {"a control character", {}, {{13, rocca({}, " \x07OCCA")}}, {warning(T, 13, 81, "control-character")}},
    });
}

TEST(Lint, PositionsAndOrder) {
    expect_mistakes({
        {"a station past the end of the route",
         {},
         {{13, rocca({{0, "15000"}})}},
         {warning(T, 13, 12, "beyond-route")}},
        {"a station past the route's cells",
         {},
         {{13, rocca({{0, "16400"}})}},
         {error(T, 13, 12, "outside-route")},
         "error 15",
         0,
         15},
        {"a signal too near the start",
         {},
         {{17, "segnale,  300," + kSignal}},
         {error(T, 17, 11, "outside-route")},
         "325 m",
         0,
         15},
        {"a sign between cells",
         {{23, "cartello_indicatore,  1525,     (   P.L.  )(km 1+500)"}},
         {},
         {warning(L, 23, 23, "unaligned")},
         "goes to the cell that starts at 1550 m"},
        {"a gradient change between cells",
         {{15, "pendenza,  3020,  8"}},
         {},
         {warning(L, 15, 12, "unaligned")},
         "at the cell boundary at 3000 m"},
        {"gradients out of order",
         {{16, "pendenza,  2000,  -4"}},
         {},
         {error(L, 16, 12, "out-of-order")},
         "comes before the previous one",
         15},
        {"two speed limits in one cell",
         {},
         {{10, "velocita,  6000,  80\nvelocita,  6020,  70"}},
         {warning(T, 11, 12, "unaligned"), error(T, 11, 12, "out-of-order")},
         "at the cell boundary at 6000 m",
         10},
        {"the speed list not from 0",
         {},
         {{9, "velocita,  700,  110"}},
         {error(T, 9, 12, "not-from-start")},
         "the speed limit is 0 km/h"},
        {"no adhesion at all", {}, {{7, kDeleted}}, {error(T, 1, 1, "missing-line")}},
        {"no route length", {{2, kDeleted}}, {}, {error(L, 1, 1, "missing-line")}, "", 0, 25},
        {"a station position between multiples of 50",
         {},
         {{13, rocca({{0, "9525"}})}},
         {error(T, 13, 12, "not-multiple")},
         "error 8",
         0,
         8},
        {"a station length between multiples of 100",
         {},
         {{13, rocca({{2, "650"}})}},
         {error(T, 13, 24, "not-multiple")},
         "error 9",
         0,
         9},
        {"two stations too close",
         {},
         {{13, rocca({{0, "900"}})}},
         {error(T, 13, 12, "station-spacing"), warning(T, 17, 11, "overwritten-marker")},
         "350 m",
         12,
         22},
        {"stations out of order",
         {},
         {{12, rocca()},
          {13, "stazione,  0,  4,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  8,  1,  0,   VALBRUNA"}},
         {error(T, 13, 12, "out-of-order"), error(T, 13, 12, "station-spacing"),
          warning(T, 13, 66, "timetable-order")}},
        {"a timetable that goes back", {}, {{13, rocca({{13, "7"}})}}, {warning(T, 13, 70, "timetable-order")}},
        {"a curve that starts inside the one before",
         {{12, "curvas4,  2200,  300"}},
         {},
         {error(L, 12, 11, "curve-overlap")},
         "",
         11},
        {"a curve past the plan",
         {{12, "curvas4,  16000,  2000"}},
         {},
         {warning(L, 12, 11, "beyond-route"), error(L, 12, 19, "outside-route")}},
        {"a curve class 7", {{12, "curvas7,  6000,  300"}}, {}, {error(L, 12, 1, "curve-class")}, "error 103", 0, 103},
        {"a mountain stretch shorter than a cell",
         {{19, "montagna,  3000,  3020,  12"}},
         {},
         {error(L, 19, 19, "empty-object")}},
        {"mountain stretches 100 m apart",
         {{19, "montagna,  3000,  5000,  12\nmontagna,  5100,  6000,  2"}},
         {},
         {warning(L, 20, 12, "mountain-joined")},
         "kind 3",
         19},
        {"mountain stretches that overlap",
         {{19, "montagna,  3000,  5000,  12\nmontagna,  4000,  6000,  3"}},
         {},
         {error(L, 20, 12, "mountain-overlap")},
         "",
         19},
    });
}

TEST(Lint, ObjectsThatMeet) {
    expect_mistakes({
        {"a signal on a sign board",
         {{23, "cartello_indicatore,  1000,     (   P.L.  )(km 1+000)"}},
         {},
         {error(T, 17, 11, "occupied-cell")},
         "already taken by the sign board (the compiler's error 16)",
         23,
         16},
        {"a signal on a speed board",
         {},
         {{17, "segnale,  600," + kSignal}},
         {error(T, 17, 11, "occupied-cell")},
         "speed-indicator board",
         21,
         16},
        {"two signs in one cell",
         {{23, "cartello_indicatore,  1500,     (a)\ncartello_indicatore,  1510,     (b)"}},
         {},
         {warning(L, 24, 23, "unaligned"), error(L, 24, 23, "occupied-cell")},
         "",
         0,
         6},
        {"a code-drop point on a signal",
         {},
         {{22, "abbattimento,  1050,  150"}},
         {error(T, 22, 16, "occupied-cell")},
         "error 7",
         17,
         7},
        {"a signal on a station's end marker",
         {},
         {{20, "segnale,  9700," + kSignal}},
         {error(T, 20, 11, "occupied-cell")},
         "station's end marker",
         13,
         16},
        {"a station's end marker over a signal",
         {},
         {{11, "segnale,  9700," + kSignal + "\n[stazioni]"}},
         {warning(T, 14, 12, "overwritten-marker"), error(T, 14, 12, "overwritten-object")}},
        {"a signal's markers on a station's",
         {},
         {{20, "segnale,  9600," + kSignal}},
         {warning(T, 20, 11, "overwritten-marker")},
         "station's approach marker",
         13},
        {"a sign in cell 1",
         {{23, "cartello_indicatore,  0,     (a)"}},
         {},
         {error(L, 23, 23, "cell-one")},
         "error 1250"},
        {"a slowdown that starts and ends in one cell",
         {},
         {{15, "rallentamento,  4000,  30,  20,  1,  1,  0"}},
         {warning(T, 15, 29, "unaligned"), error(T, 15, 29, "empty-object")},
         "",
         0,
         13},
        {"a slowdown warning on a signal",
         {},
         {{15, kDeleted},
          {20, "segnale,  9000,  2,  3,  1,  0,  0,  0,  0,  0,  0,  0\nrallentamento,  3700,  30,  600,  1,  0,  0"}},
         {error(T, 20, 17, "occupied-cell")},
         "warning point",
         17,
         17},
    });
}

TEST(Lint, ValuesTheCompilerReplaces) {
    expect_mistakes({
        {"attribute 15 at the first station",
         {},
         {{12, "stazione,  0,  4,  600,  0,  1,  0,  1,  1,  0,  4,  1,  1,  1,  8,  1,  0,   VALBRUNA"}},
         {error(T, 12, 30, "ignored-value")}},
        {"attribute 14 at the first station",
         {},
         {{12, "stazione,  0,  4,  600,  0,  0,  1,  1,  1,  0,  4,  1,  1,  1,  8,  1,  0,   VALBRUNA"}},
         {error(T, 12, 34, "ignored-value")},
         "lengthens"},
        {"attribute 15 at a short station",
         {},
         {{13, rocca({{2, "500"}, {4, "1"}})}},
         {error(T, 13, 34, "ignored-value")},
         "shorter than 600 m"},
        {"tempo on a signal with sx 1",
         {},
         {{18, "segnale,  2500,  1,  4,  1,  0,  0,  0,  0,  0,  0,  30"}},
         {error(T, 18, 54, "ignored-value")}},
        {"tempo raised to 101",
         {},
         {{20, "segnale,  9000,  2,  3,  1,  0,  0,  0,  0,  0,  0,  40"}},
         {error(T, 20, 54, "ignored-value")},
         "stores 101 for 40"},
        {"f_ta on an early slowdown",
         {},
         {{15, "rallentamento,  1200,  30,  600,  1,  1,  0"}},
         {error(T, 15, 39, "ignored-value")}},
        {"a setting given twice",
         {},
         {{4, "sabbia,    200\nsabbia,    300"}},
         {error(T, 5, 1, "repeated-setting")},
         "later value",
         4},
        {"a missing train setting",
         {},
         {{3, kDeleted}},
         {warning(T, 1, 1, "missing-setting")},
         "'percentuale massa frenata'"},
        {"two progressives with the same start",
         {{3, "progressiva chilometrica uno,  5000,  0,  0"}, {4, "progressiva chilometrica due,  5000,  0,  1"}},
         {},
         {error(L, 4, 32, "cleared-progressives")},
         "clears all three",
         3},
        {"a progressive start between multiples of 50",
         {{4, "progressiva chilometrica due,  5025,  0,  1"}},
         {},
         {error(L, 4, 32, "not-multiple")},
         "error 2",
         0,
         2},
        {"signal repetition with 6 codes",
         {{9, "ripetizione segnali 6 codici,  0,  0"}},
         {},
         {error(L, 9, 1, "out-of-range")},
         "",
         0,
         5},
        {"a sign text without parentheses",
         {{23, "cartello_indicatore,  1500,     P.L. km 1+500"}},
         {},
         {warning(L, 23, 33, "sign-text")}},
    });
}

TEST(Lint, EveryFaultOfBothFilesInOneRun) {
    const std::string line = edited(kLineLines, {{15, "pendneza,  3000,  8"}, {16, "pendenza,  5000,  180"}});
    const std::string train = edited(kTrainLines, {{4, "sabbia,    40000"}, {18, "segnael,  2500," + kSignal}});
    const Diagnostics got = check_descriptions(line, train);
    ASSERT_EQ(got.size(), 4u) << describe(got, line, train);
    EXPECT_EQ(got[0].where->line, 15);
    EXPECT_EQ(got[1].where->line, 16);
    EXPECT_EQ(got[2].where->file, T);
    EXPECT_EQ(got[2].where->line, 4);
    EXPECT_EQ(got[3].where->line, 18);
}

TEST(Lint, NothingIsLostInNoisyInput) {
    // Whatever the bytes, the check ends, and every diagnostic has a place
    // inside its file.
    std::string noise;
    for (int i = 0; i < 4000; ++i) noise += static_cast<char>((i * 7919 + i / 13) % 256);
    for (const std::string& text : {noise, std::string(",,,\r\n-\r\n[\r\n\"\r\n"), std::string("-\r\n-")}) {
        const Diagnostics got = check_descriptions(text, text);
        for (const Diagnostic& d : got) {
            ASSERT_TRUE(d.where.has_value());
            EXPECT_GE(d.where->line, 0);
        }
    }
}

}  // namespace
}  // namespace scenariogen
