// The strict check against the mistakes route authors make: each mistake is
// a one- or two-line change to a small line and train, and gets exactly the
// diagnostics listed, at their line and column, with their severity and name.
#include <gtest/gtest.h>

#include "compiler/compile.h"
#include "lint_fixtures.h"

namespace scenariogen::testing {
namespace {

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
        {"[generale] in a comment before the header",
         {{1, "-- the settings follow [generale]\n[generale]"}},
         {},
         {error(L, 1, 1, "contains-keyword"), error(L, 1, 1, "missing-line"), error(L, 3, 1, "wrong-section"),
          error(L, 4, 1, "wrong-section"), error(L, 5, 1, "wrong-section"), error(L, 6, 1, "wrong-section"),
          error(L, 7, 1, "wrong-section"), error(L, 8, 1, "wrong-section"), error(L, 9, 1, "wrong-section"),
          error(L, 10, 1, "wrong-section")},
         "starts reading the file here"},
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
        {"the line's [generale] misspelt", {{1, "[generali]"}}, {}, {error(L, 1, 1, "missing-generale")}, "", 0, 102},
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
        {"a sand value beyond 16 bits", {}, {{4, "sabbia,    40000"}}, {error(T, 4, 12, "out-of-range")}, "", 0, 25},
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
         "",
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
        {"a left side code whose sum with the right one spills into rapp",
         {},
         {{18, "segnale,  2500,  3,  4,  1,  0,  0,  1,  0,  0,  0,  0"}},
         {error(T, 18, 18, "out-of-range")},
         "sx × 3 + dx makes 10"},
        {"a left side code out of its range is one mistake, not two",
         {},
         {{18, "segnale,  2500,  4,  4,  1,  0,  0,  0,  0,  0,  0,  0"}},
         {error(T, 18, 18, "out-of-range")}},
        {"a negative position", {{15, "pendenza,  -50,  8"}}, {}, {error(L, 15, 12, "out-of-range")}, "is negative"},
        {"a route longer than the format allows",
         {{2, "lunghezza percorso,  1000001"}},
         {},
         {error(L, 2, 22, "out-of-range")},
         "",
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

TEST(Lint, WhatAHostileTextCanCostIsBounded) {
    const std::string train = edited(kTrainLines, {});
    const Diagnostics huge = check_descriptions(std::string(kMaxDescriptionBytes + 1, '\n'), train);
    ASSERT_EQ(huge.size(), 1u);
    EXPECT_EQ(huge[0].name, "too-large");

    std::string wide = "pendenza";
    for (int i = 0; i < 5000; ++i) wide += ",  1";
    const Diagnostics cut = without_notes(check_descriptions(edited(kLineLines, {{15, wide}}), train));
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0].name, "field-count");
    EXPECT_EQ(cut[1].name, "field-count");
    EXPECT_NE(cut[0].message.find("more than 4096 fields"), std::string::npos);

    std::string many;
    for (int i = 0; i < 10005; ++i) many += "xyz\r\n";
    const Diagnostics capped = check_descriptions(edited(kLineLines, {{23, many + "[fine]"}}), train);
    ASSERT_EQ(capped.size(), 10001u);
    EXPECT_EQ(capped.back().severity, Severity::kNote);
    EXPECT_FALSE(capped.back().where.has_value());
    EXPECT_NE(capped.back().message.find("stops after 10000 diagnostics"), std::string::npos);
}

}  // namespace
}  // namespace scenariogen::testing
