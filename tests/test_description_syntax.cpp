// The description syntax: fields cut as the reader cuts them, number tokens
// read as the reader reads them, and the reader's rules (the search for
// [generale], the dash rule, the section end, the keyword tests, the values
// and the last field) as the description reader states them once.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/diagnostic_format.h"
#include "syntax/description_reader.h"
#include "syntax/line_reading.h"
#include "syntax/number_token.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using syntax::FieldCursor;
using syntax::Keyword;
using syntax::Use;
using testing::crlf;

// Reads the requests in order: 't' a text, 'n' a number; returns the token of each.
std::vector<std::string> read_all(FieldCursor& cursor, const std::string& requests) {
    std::vector<std::string> fields;
    for (const char request : requests) {
        fields.emplace_back(request == 't' ? cursor.read_text().text : cursor.read_number().text);
    }
    return fields;
}

TEST(FieldCursor, FieldsOfOneLineOrMore) {
    struct Case {
        const char* name;
        std::string content;
        std::string requests;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {"keyword line with the writer's separators",
         crlf({"pendenza,  14100,  -6"}),
         "tnn",
         {"pendenza", "14100", "-6"}},
        {"bare commas read the same", crlf({"pendenza,14100,-6"}), "tnn", {"pendenza", "14100", "-6"}},
        {"numbers also end at blanks",
         crlf({"orologio,    6               32            50 "}),
         "tnnn",
         {"orologio", "6", "32", "50"}},
        {"an empty number is an empty token",
         crlf({"indicatori_vmax,  700,  0,    ,    ,  0"}),
         "tnnnnn",
         {"indicatori_vmax", "700", "0", "", "", "0"}},
        {"an empty number at the line end", crlf({"x,   ", "y"}), "tnt", {"x", "", "y"}},
        {"a line end ends a field",
         crlf({"[generale]", "lunghezza percorso,  46000", "[curve]"}),
         "ttnt",
         {"[generale]", "lunghezza percorso", "46000", "[curve]"}},
        {"a text keeps its inner blanks but not its leading ones",
         crlf({"cartello_indicatore,  550,     (Diramazione per)(    GORVENTA)"}),
         "tnt",
         {"cartello_indicatore", "550", "(Diramazione per)(    GORVENTA)"}},
        {"a text runs to the comma, blanks before it included", crlf({"  ab  ,x"}), "tt", {"ab  ", "x"}},
        {"n commas give n + 1 fields", crlf({",,", "x"}), "tttt", {"", "", "", "x"}},
        {"a quoted text runs to its closing quote", crlf({"\"a, b\",c"}), "tt", {"a, b", "c"}},
        {"a line without a comma is one field", crlf({"[fine]"}), "t", {"[fine]"}},
        {"a sign and a plus sign", crlf({"-2147483648,+7,2147483647"}), "nnn", {"-2147483648", "+7", "2147483647"}},
        {"a file without a last line end", "a,5", "tn", {"a", "5"}},
    };
    for (const Case& c : cases) {
        FieldCursor cursor(c.content);
        EXPECT_EQ(read_all(cursor, c.requests), c.expected) << c.name;
        EXPECT_TRUE(cursor.eof()) << c.name;
    }
}

TEST(FieldCursor, EndOfTextOnceOnlyTheLastLineEndRemains) {
    const std::string text = crlf({"a,b", "c"});  // the cursor views it: it must outlive the cursor
    FieldCursor cursor(text);
    EXPECT_FALSE(cursor.eof());
    cursor.read_text();
    EXPECT_FALSE(cursor.eof()) << "b and c remain";
    cursor.read_text();
    EXPECT_FALSE(cursor.eof()) << "c remains";
    cursor.read_text();
    EXPECT_TRUE(cursor.eof()) << "only the line end after c remains";

    // After a comma, or before an empty last line, one line end may remain: that is the end too.
    struct Case {
        std::string content;
        bool eof_after_first;
    };
    for (const Case& c : std::vector<Case>{
             {"a,\r\n", true}, {"a\r\n\r\n", true}, {"a\n\n", true}, {"a\r\n\r\n\r\n", false}, {"a,\r\n\r\n", false}}) {
        FieldCursor one(c.content);
        EXPECT_EQ(one.read_text().text, "a");
        EXPECT_EQ(one.eof(), c.eof_after_first) << ::testing::PrintToString(c.content);
    }

    FieldCursor empty("");
    EXPECT_TRUE(empty.eof());
    const std::string trailing_comma_text = crlf({"a,", "b"});
    FieldCursor trailing_comma(trailing_comma_text);
    trailing_comma.read_text();
    EXPECT_EQ(trailing_comma.read_text().text, "") << "the empty field after the comma";
    EXPECT_FALSE(trailing_comma.eof());
}

TEST(FieldCursor, EachFieldKnowsWhereItStandsWithoutItsBlanks) {
    const std::string text = crlf({"pendenza,  14100,  -6", "  [curve]  ", "orologio,    6     32"});
    FieldCursor cursor(text);
    struct Expected {
        char request;
        int line, column, end_column;
    };
    const std::vector<Expected> expected{
        {'t', 1, 1, 9}, {'n', 1, 12, 17}, {'n', 1, 20, 22}, {'t', 2, 3, 10},
        {'t', 3, 1, 9}, {'n', 3, 14, 15}, {'n', 3, 20, 22},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const syntax::Field field = expected[i].request == 't' ? cursor.read_text() : cursor.read_number();
        EXPECT_EQ(field.span.line, expected[i].line) << "field " << i;
        EXPECT_EQ(field.span.column, expected[i].column) << "field " << i;
        EXPECT_EQ(field.span.end_column, expected[i].end_column) << "field " << i;
    }
    EXPECT_EQ(text_line(text, 2), "  [curve]  ");
}

TEST(NumberToken, ReadsWhatTheReaderReads) {
    struct Case {
        const char* token;
        bool is_number;
        bool fits;
        std::int64_t value;  // when it fits
    };
    const std::vector<Case> cases{
        {"", true, true, 0},
        {"12", true, true, 12},
        {"+7", true, true, 7},
        {"-6", true, true, -6},
        {"-0", true, true, 0},
        {"2147483647", true, true, 2147483647},
        {"-2147483648", true, true, -2147483648LL},
        {"0000000000000000001", true, true, 1},  // leading zeros are no part of the size
        {"000000000000000000000000000042", true, true, 42},
        {"2147483648", true, false, 0},
        {"-2147483649", true, false, 0},
        {"99999999999999999999", true, false, 0},
        {"abc", false, true, 0},
        {"12x", false, true, 0},
        {"1.5", false, true, 0},
        {"-", false, true, 0},
        {"+", false, true, 0},
        {"+-3", false, true, 0},
        {"--3", false, true, 0},
    };
    for (const Case& c : cases) {
        const syntax::NumberToken number = syntax::read_number_token(c.token);
        EXPECT_EQ(number.is_number, c.is_number) << c.token;
        if (!c.is_number) continue;
        EXPECT_EQ(number.fits_32_bits, c.fits) << c.token;
        if (c.fits) {
            EXPECT_EQ(number.value, c.value) << c.token;
        }
    }
}

// What the reader makes of each field of a text: one letter per field in
// order, and the keywords it took, with the values each read.
struct Reading {
    std::string uses;  // i ignored, s start, k keyword field, d dash-skipped, v value, n never read
    std::vector<std::pair<Keyword, std::vector<std::string>>> keywords;
    syntax::ReadingEnd end = syntax::ReadingEnd::kReading;
};

Reading read_text(std::string_view text, SourceFile file, syntax::ReaderOptions options = {}) {
    syntax::DescriptionReader reader(text, file, options);
    syntax::Statement statement;
    Reading reading;
    while (reader.next(statement)) {
        for (const syntax::FieldUse& use : statement.uses) reading.uses += "iskdvn"[static_cast<int>(use.use)];
        for (const syntax::KeywordReading& keyword : statement.readings) {
            std::vector<std::string> values;
            for (std::size_t k = 0; k < keyword.value_uses.size(); ++k) {
                values.emplace_back(statement.value(keyword, k).text);
            }
            reading.keywords.emplace_back(keyword.keyword, values);
        }
    }
    reading.end = reader.end();
    return reading;
}

using Values = std::vector<std::pair<Keyword, std::vector<std::string>>>;

TEST(DescriptionReader, TheReadersRules) {
    using syntax::ReadingEnd;
    const std::string dashes = "-- x\r\n-- x\r\n-- x\r\n-- x\r\n-- x\r\n-- x\r\n-- x\r\n-- x\r\n-- x\r\n-- x\r\n";
    struct Case {
        const char* name;
        SourceFile file;
        std::string text;
        std::string uses;
        Values keywords;
        ReadingEnd end;
    };
    const std::vector<Case> cases{
        {"a line description as the run writes it",
         SourceFile::kLine,
         crlf({"[generale]", "lunghezza percorso,  46000", "[curve]", "curvad4,  650,  1000", "[fine]"}),
         "skvkkvvn",
         {{Keyword::kLength, {"46000"}}, {Keyword::kCurve, {"650", "1000"}}},
         ReadingEnd::kTextEnd},
        {"fields before [generale] are ignored",
         SourceFile::kLine,
         crlf({"x, y", "[generale]", "[fine]"}),
         "iisn",
         {},
         ReadingEnd::kTextEnd},
        {"the last field is never read, [generale] too",
         SourceFile::kLine,
         crlf({"a", "[generale]"}),
         "in",
         {},
         ReadingEnd::kNoStart},
        {"an empty line description is read past its end", SourceFile::kLine, "", "", {}, ReadingEnd::kPastEnd},
        {"a train description without [generale]",
         SourceFile::kTrain,
         crlf({"a", "b"}),
         "ii",
         {},
         ReadingEnd::kNoStart},
        {"the train reader takes [generale] as the last field",
         SourceFile::kTrain,
         crlf({"a", "[generale]"}),
         "is",
         {},
         ReadingEnd::kTextEnd},
        {"ten dash fields skipped in the general section, the eleventh tested",
         SourceFile::kLine,
         "[generale]\r\n" + dashes + "-- x\r\n[fine]\r\n",
         "sddddddddddkn",
         {},
         ReadingEnd::kTextEnd},
        {"two dash fields skipped after it, the third tested",
         SourceFile::kLine,
         crlf({"[generale]", "[curve]", "-a", "-b", "-c", "[fine]"}),
         "skddkn",
         {},
         ReadingEnd::kTextEnd},
        {"any field with brackets that does not begin with a dash ends the general section",
         SourceFile::kLine,
         crlf({"[generale]", "x [curve]", "pendenza, 0, 0", "[fine]"}),
         "skkvvn",
         {{Keyword::kGradient, {"0", "0"}}},
         ReadingEnd::kTextEnd},
        {"a field taken for two keywords reads the values of both",
         SourceFile::kLine,
         crlf({"[generale]", "[curve]", "pendenza curvad2, 100, 5, 200, 300", "[fine]"}),
         "skkvvvvn",
         {{Keyword::kGradient, {"100", "5"}}, {Keyword::kCurve, {"200", "300"}}},
         ReadingEnd::kTextEnd},
        {"missing values are taken from the next line",
         SourceFile::kLine,
         crlf({"[generale]", "[curve]", "pendenza, 100", "pendenza, 200, 3", "[fine]"}),
         "skkvvkkn",
         {{Keyword::kGradient, {"100", "pendenza"}}},
         ReadingEnd::kTextEnd},
        {"a value past the end of the text ends the reading",
         SourceFile::kLine,
         crlf({"[generale]", "ripetizione segnali 4, 0"}),
         "skv",
         {{Keyword::kSignalRepetition, {"0"}}},
         ReadingEnd::kPastEnd},
        {"a dash field last in the general section: the reader reads past the end",
         SourceFile::kLine,
         crlf({"[generale]", "-- a", "-- b"}),
         "sdd",
         {},
         ReadingEnd::kPastEnd},
        {"keywords that belong elsewhere are not taken",
         SourceFile::kTrain,
         crlf({"[generale]", "pendenza, 1, 2", "velocita, 0, 80", "[fine]"}),
         "skkkkvvn",
         {{Keyword::kSpeed, {"0", "80"}}},
         ReadingEnd::kTextEnd},
        {"a station: 16 numbers and the name to the end of the line",
         SourceFile::kTrain,
         crlf({"[generale]", "stazione, 0, 4, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 1, 6, 33, 0,   ZERVANO S. PIETRO",
               "[fine]"}),
         "skvvvvvvvvvvvvvvvvvn",
         {{Keyword::kStation,
           {"0", "4", "600", "0", "0", "0", "1", "1", "0", "4", "1", "1", "1", "6", "33", "0", "ZERVANO S. PIETRO"}}},
         ReadingEnd::kTextEnd},
    };
    for (const Case& c : cases) {
        const Reading reading = read_text(c.text, c.file);
        EXPECT_EQ(reading.uses, c.uses) << c.name;
        EXPECT_EQ(reading.keywords, c.keywords) << c.name;
        EXPECT_EQ(reading.end, c.end) << c.name;
    }
}

TEST(DescriptionReader, CurvesAreReadOnlyWhenThePlanIsBuilt) {
    const std::string text = crlf({"[generale]", "[curve]", "curvad4,  650,  1000", "[fine]"});
    syntax::ReaderOptions without_plan;
    without_plan.curves_read = false;
    const Reading reading = read_text(text, SourceFile::kLine, without_plan);
    EXPECT_EQ(reading.uses, "skkkkn") << "the curve's values pass as fields no keyword claims";
    EXPECT_TRUE(reading.keywords.empty());
}

// Lines as the strict check and the editor see them.
class Lines : public syntax::LineSink {
public:
    void line(const syntax::LineReading& reading) override { lines.push_back(reading); }
    std::vector<syntax::LineReading> lines;
};

TEST(DescriptionReader, ByLinesEachKeywordTakesItsValuesFromItsOwnLine) {
    Lines lines;
    const std::string text = crlf({"[generale]", "[curve]", "pendenza, 100", "pendenza, 200, 3", "[fine]"});
    const syntax::ReadingSummary summary = syntax::read_lines(text, SourceFile::kLine, std::nullopt, &lines);
    EXPECT_TRUE(summary.start_found);
    EXPECT_EQ(summary.general_end_line, 2);
    ASSERT_EQ(lines.lines.size(), 5u);
    const syntax::LineReading& short_line = lines.lines[2];
    ASSERT_EQ(short_line.readings.size(), 1u);
    EXPECT_EQ(short_line.readings[0].missing, 1u) << "the gradient is missing, not taken from line 4";
    const syntax::LineReading& whole = lines.lines[3];
    ASSERT_EQ(whole.readings.size(), 1u);
    EXPECT_EQ(whole.readings[0].missing, 0u);
    EXPECT_EQ(whole.readings[0].value_uses.size(), 2u);
    EXPECT_TRUE(lines.lines.back().last);
    EXPECT_EQ(lines.lines.back().uses.front().use, Use::kNeverRead);
}

TEST(DescriptionReader, ByLinesALineOfTooManyFieldsIsFollowedNoFurther) {
    std::string line = "[generale]\r\n[curve]\r\nx";
    for (std::size_t i = 0; i < syntax::kMaxFieldsPerLine + 10; ++i) line += ",pendenza";
    line += "\r\npendenza, 0, 0\r\n[fine]\r\n";
    Lines lines;
    syntax::read_lines(line, SourceFile::kLine, std::nullopt, &lines);
    ASSERT_EQ(lines.lines.size(), 5u);
    EXPECT_TRUE(lines.lines[2].cut_short);
    EXPECT_EQ(lines.lines[2].uses.size(), syntax::kMaxFieldsPerLine);
    ASSERT_EQ(lines.lines[3].readings.size(), 1u) << "the next line is read as it stands";
    EXPECT_EQ(lines.lines[3].readings[0].missing, 0u);
}

}  // namespace
}  // namespace scenariogen
