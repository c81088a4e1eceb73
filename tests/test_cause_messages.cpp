// Mistakes whose messages must name their cause, not a symptom of it.
#include <gtest/gtest.h>

#include "lint/time_in_one_field.h"
#include "lint_fixtures.h"

namespace scenariogen::testing {
namespace {

const std::string kShortStation = "stazione,  9500,  12,  600,  0,  0,  1,  1,  0,  4,  1,  1,  0,  8,  9,  0,   ROCCA";
const std::string kTimeInOneField =
    "stazione,  9500,  12,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  0,  8:09:00,   ROCCA";

TEST(CauseMessages, TheCheckSaysWhatIsWrong) {
    expect_mistakes({
        {"a station line with a number missing",
         {},
         {{13, kShortStation}},
         {error(T, 13, static_cast<int>(kShortStation.size()) + 1, "field-count")},
         "this line has 16: a number is missing, so the reader takes 'ROCCA' for the second"},
        {"a time written in one field",
         {},
         {{13, kTimeInOneField}},
         {error(T, 13, static_cast<int>(kTimeInOneField.size()) + 1, "field-count")},
         "'8:09:00' is a whole time in one field: write its hours, minutes and seconds as three numbers, each after "
         "a comma (8,  9,  0)"},
        {"three comment lines in a row",
         {},
         {{8, "-- one\n-- two\n-- three\n[vel_limite]"}},
         {error(T, 10, 1, "unknown-keyword")},
         "the reader skips at most two fields in a row that hold '-'"},
        {"a comma in a comment before a keyword",
         {},
         {{16, "-- the home signal, segnale di protezione\n[segnali]"}},
         {error(T, 16, 21, "contains-keyword")},
         "a comma ends the comment before it"},
    });
}

TEST(CauseMessages, TimesInOneFieldAndDecimalNumbers) {
    for (const std::string time : {"7:21:00", "7:21", "7.21.00", "23:59:59"}) {
        EXPECT_TRUE(lint::time_in_one_field(time).has_value()) << time;
    }
    for (const std::string other : {"6.5", "25:00", "7:61", "7:21:00:00", "abc", "7::21", ""}) {
        EXPECT_FALSE(lint::time_in_one_field(other).has_value()) << other;
    }
}

// The descriptions in a folder, with their paths.
struct WrittenPair {
    TempDir dir;
    std::string line = dir.file("l.txt");
    std::string train = dir.file("t.txt");
    WrittenPair(const std::string& line_text, const std::string& train_text) {
        spit(line, line_text);
        spit(train, train_text);
    }
};

TEST(CauseMessages, SwappedFilesAreNamedSo) {
    const WrittenPair pair(edited(kLineLines, {}), edited(kTrainLines, {}));
    for (const std::string command : {"compile", "check"}) {
        const std::string out = command == "compile" ? " -o " + pair.dir.path().string() : "";
        const Outcome swapped = run_program(command + " " + pair.train + " " + pair.line + out);
        EXPECT_EQ(swapped.status, 2) << command;
        EXPECT_NE(swapped.err.find("LINE and TRAIN look swapped"), std::string::npos) << swapped.err;
        EXPECT_NE(swapped.err.find("scenariogen " + command + " " + pair.line + " " + pair.train), std::string::npos)
            << swapped.err;
        EXPECT_EQ(swapped.err.find("error"), std::string::npos) << "no flood of errors: " << swapped.err;
    }
    // One file with a few lines of the other is no swap.
    const WrittenPair mixed(edited(kLineLines, {{23, "velocita,  0,  100\nvelocita,  10,  100"}}),
                            edited(kTrainLines, {}));
    EXPECT_EQ(run_program("compile " + mixed.line + " " + mixed.train + " -o " + mixed.dir.path().string())
                  .err.find("swapped"),
              std::string::npos);
}

// A leg that cannot be run names the line that makes it so.
TEST(CauseMessages, AnImpossibleLegNamesItsStretch) {
    const WrittenPair pair(edited(kLineLines, {{15, "pendenza,  3000,  70"}}), edited(kTrainLines, {}));
    const Outcome checked = run_program("check " + pair.line + " " + pair.train);
    EXPECT_EQ(checked.status, 0) << checked.err;
    EXPECT_NE(checked.err.find("cannot be run at these limits: the train stalls"), std::string::npos) << checked.err;
    EXPECT_NE(
        checked.err.find("l.txt:15:1: note: the gradient of 70 \u2030 that makes the leg impossible, from 3000 m"),
        std::string::npos)
        << checked.err;
    const Outcome json = run_program("check " + pair.line + " " + pair.train + " --json");
    EXPECT_NE(json.out.find("\"where\""), std::string::npos) << json.out;
}

}  // namespace
}  // namespace scenariogen::testing
