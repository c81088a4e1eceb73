// Every kind of bad input gets a recorded number, never a crash, a read or
// write outside the records, or a loop without end.
#include <gtest/gtest.h>

#include "test_support.h"

namespace scenariogen {
namespace {

using testing::compile_texts;
using testing::crlf;

std::string line_with(const std::vector<std::string>& objects, const std::string& length = "10000") {
    std::vector<std::string> lines{"[generale]", "lunghezza percorso,  " + length, "[curve]"};
    lines.insert(lines.end(), objects.begin(), objects.end());
    lines.push_back("[fine]");
    return crlf(lines);
}

std::string train_with(const std::vector<std::string>& objects) {
    std::vector<std::string> lines{"[generale]"};
    lines.insert(lines.end(), objects.begin(), objects.end());
    lines.push_back("[fine]");
    return crlf(lines);
}

struct BadInput {
    const char* kind;
    std::string line;
    std::string train;
    std::int32_t number;
};

TEST(BadInput, EachKindGetsItsNumber) {
    const std::string ok_line = line_with({});
    const std::string ok_train = train_with({});
    const std::vector<BadInput> cases{
        {"empty line file", "", ok_train, 25},
        {"binary noise", std::string("\x00\xFF\x01,\r\n\x7F", 6), ok_train, 102},
        {"no [generale]", crlf({"lunghezza percorso,  1000", "[fine]"}), ok_train, 102},
        {"no length line", crlf({"[generale]", "sfondo uno,  1", "[curve]", "[fine]"}), ok_train, 25},
        {"length beyond the largest route", line_with({}, "1000001"), ok_train, 1},
        {"negative length", line_with({}, "-1"), ok_train, 1},
        {"length beyond 32 bits", line_with({}, "99999999999"), ok_train, 25},
        {"text where a number belongs", line_with({"pendenza,  abc,  1"}), ok_train, 25},
        {"a length line whose value the file lacks", crlf({"[generale]", "lunghezza percorso"}), ok_train, 25},
        {"values missing at the end", line_with({}) + "pendenza,  100", ok_train, 25},
        {"curve without a class", line_with({"curvad,  100,  100"}), ok_train, 103},
        {"curve past the plan", line_with({"curvad1,  9000,  9000"}), ok_train, 15},
        {"negative gradient position", line_with({"pendenza,  -50,  1"}), ok_train, 15},
        {"gradient lines that never advance", line_with(std::vector<std::string>(400, "pendenza,  100,  1")), ok_train,
         15},
        {"mountain past the last cell", line_with({"montagna,  100,  99999,  2"}), ok_train, 15},
        {"81 mountains", line_with(std::vector<std::string>(81, "montagna,  100,  200,  2")), ok_train, 10},
        {"board on a board",
         line_with({"indicatori_vmax,  700,  1,  1,  1,  0,  ,  ,  ,  0",
                    "indicatori_vmax,  700,  1,  1,  1,  0,  ,  ,  ,  0"}),
         ok_train, 21},
        {"speed code beyond 16 bits", line_with({"indicatori_vmax,  700,  2000,  1,  1,  0,  ,  ,  ,  0"}), ok_train,
         25},
        {"sign on a sign", line_with({"cartello_indicatore,  700,  (a)", "cartello_indicatore,  700,  (b)"}), ok_train,
         6},
        {"16-bit value too large", ok_line, train_with({"sabbia,  40000"}), 25},
        {"byte value too large", ok_line,
         train_with({"stazione,  1000,  300,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  6,  33,  0,   A"}), 25},
        {"speed beyond a byte", ok_line, train_with({"velocita,  0,  1280", "velocita,  100,  1"}), 25},
        {"negative signal position", ok_line, train_with({"segnale,  -1000,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0"}),
         15},
        {"signal too near the start", ok_line, train_with({"segnale,  300,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0"}),
         15},
        {"slowdown ending past the route", ok_line, train_with({"rallentamento,  2000,  30,  99999,  0,  0,  0"}), 15},
        {"slowdown ending before the route", ok_line, train_with({"rallentamento,  2000,  30,  -5000,  0,  0,  0"}),
         15},
        {"station past the route", ok_line, train_with({"stazione,  16300"}), 15},
        {"station too long for the route", ok_line,
         train_with({"stazione,  15000,  12,  5000,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  6,  33,  0,   A"}), 15},
        {"adhesion lines that never advance", ok_line, train_with(std::vector<std::string>(400, "aderenza,  100,  1")),
         15},
        {"station line cut short", ok_line, train_with({}) + "stazione,  1000,  12", 25},
    };
    for (const BadInput& c : cases) {
        testing::Compiled compiled;
        ASSERT_NO_THROW(compiled = compile_texts(c.line, c.train)) << c.kind;
        EXPECT_EQ(compiled.s.last_error, c.number) << c.kind;
        ASSERT_FALSE(compiled.s.faults.empty()) << c.kind;
    }
}

TEST(BadInput, AnUnreadableTrainDescriptionIsAReadFailure) {
    const std::string line = line_with({});
    const CompileResult s = compile(CompileInput{line, std::nullopt, "Zervano-OdelmaVmod", "27340", true});
    EXPECT_EQ(s.outcome, CompileOutcome::kCompiled);
    EXPECT_EQ(s.last_error, 25);
    EXPECT_TRUE(s.reading_failed);
}

TEST(BadInput, ADescriptionBeyond64MiBIsRefusedUnread) {
    std::string huge = line_with({});
    huge += std::string((std::size_t{64} << 20) + 1 - huge.size(), ' ');
    const testing::Compiled compiled = compile_texts(huge, train_with({}));
    EXPECT_EQ(compiled.s.last_error, 25);
    EXPECT_NE(compiled.s.faults.back().detail.find("larger than"), std::string::npos);
}

}  // namespace
}  // namespace scenariogen
