// The comma-field reader shared by both description files.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/diagnostic_format.h"
#include "compiler/field_reader.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using testing::crlf;

// Reads the requests in order: 't' a text, 'n' a number; returns what each gave.
std::vector<std::string> read_all(FieldReader& reader, const std::string& requests) {
    std::vector<std::string> fields;
    for (const char request : requests) {
        fields.push_back(request == 't' ? std::string(reader.read_text()) : std::to_string(reader.read_number()));
    }
    return fields;
}

TEST(FieldReader, FieldsOfOneLineOrMore) {
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
        {"an empty number reads 0",
         crlf({"indicatori_vmax,  700,  0,    ,    ,  0"}),
         "tnnnnn",
         {"indicatori_vmax", "700", "0", "0", "0", "0"}},
        {"an empty number at the line end reads 0", crlf({"x,   ", "y"}), "tnt", {"x", "0", "y"}},
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
        {"a sign and a plus sign", crlf({"-2147483648,+7,2147483647"}), "nnn", {"-2147483648", "7", "2147483647"}},
        {"a file without a last line end", "a,5", "tn", {"a", "5"}},
    };
    for (const Case& c : cases) {
        FieldReader reader(c.content);
        EXPECT_EQ(read_all(reader, c.requests), c.expected) << c.name;
        EXPECT_TRUE(reader.eof()) << c.name;
    }
}

TEST(FieldReader, EndOfFileOnceOnlyTheLastLineEndRemains) {
    FieldReader reader(crlf({"a,b", "c"}));
    EXPECT_FALSE(reader.eof());
    reader.read_text();
    EXPECT_FALSE(reader.eof()) << "b and c remain";
    reader.read_text();
    EXPECT_FALSE(reader.eof()) << "c remains";
    reader.read_text();
    EXPECT_TRUE(reader.eof()) << "only the line end after c remains";

    // After a comma, or before an empty last line, one line end may remain: that is the end too.
    struct Case {
        std::string content;
        bool eof_after_first;
    };
    for (const Case& c : std::vector<Case>{
             {"a,\r\n", true}, {"a\r\n\r\n", true}, {"a\n\n", true}, {"a\r\n\r\n\r\n", false}, {"a,\r\n\r\n", false}}) {
        FieldReader one(c.content);
        EXPECT_EQ(one.read_text(), "a");
        EXPECT_EQ(one.eof(), c.eof_after_first) << ::testing::PrintToString(c.content);
    }

    FieldReader empty("");
    EXPECT_TRUE(empty.eof());
    FieldReader trailing_comma(crlf({"a,", "b"}));
    trailing_comma.read_text();
    EXPECT_EQ(trailing_comma.read_text(), "") << "the empty field after the comma";
    EXPECT_FALSE(trailing_comma.eof());
}

TEST(FieldReader, RefusesWhatCannotBeRead) {
    struct Case {
        const char* name;
        std::string content;
        std::string before;  // requests that succeed first
        char failing;        // 't', 'n', 's' (int16) or 'b' (byte)
    };
    const std::vector<Case> cases{
        {"a text past the end", crlf({"a"}), "t", 't'},
        {"a number past the end", crlf({"pendenza,  1000"}), "tn", 'n'},
        {"a number past the end of an empty file", "", "", 'n'},
        {"letters", crlf({"abc"}), "", 'n'},
        {"a number followed by letters", crlf({"12x"}), "", 'n'},
        {"a decimal point", crlf({"1.5"}), "", 'n'},
        {"a lone minus", crlf({"-,1"}), "", 'n'},
        {"two signs", crlf({"+-3"}), "", 'n'},
        {"one above 32 bits", crlf({"2147483648"}), "", 'n'},
        {"one below 32 bits", crlf({"-2147483649"}), "", 'n'},
        {"far beyond 32 bits", crlf({"99999999999999999999"}), "", 'n'},
        {"above 16 bits", crlf({"32767,32768"}), "s", 's'},
        {"below 16 bits", crlf({"-32768,-32769"}), "s", 's'},
        {"above one byte", crlf({"255,256"}), "b", 'b'},
        {"a negative byte", crlf({"0,-1"}), "b", 'b'},
    };
    for (const Case& c : cases) {
        FieldReader reader(c.content);
        for (const char request : c.before) {
            switch (request) {
                case 't':
                    reader.read_text();
                    break;
                case 'n':
                    reader.read_number();
                    break;
                case 's':
                    reader.read_int16();
                    break;
                case 'b':
                    reader.read_uint8();
                    break;
            }
        }
        switch (c.failing) {
            case 't':
                EXPECT_THROW(reader.read_text(), ReadingFailure) << c.name;
                break;
            case 'n':
                EXPECT_THROW(reader.read_number(), ReadingFailure) << c.name;
                break;
            case 's':
                EXPECT_THROW(reader.read_int16(), ReadingFailure) << c.name;
                break;
            case 'b':
                EXPECT_THROW(reader.read_uint8(), ReadingFailure) << c.name;
                break;
        }
    }
}

TEST(FieldReader, NarrowReadsAcceptTheirWholeRange) {
    FieldReader reader(crlf({"-32768,32767,0,255"}));
    EXPECT_EQ(reader.read_int16(), -32768);
    EXPECT_EQ(reader.read_int16(), 32767);
    EXPECT_EQ(reader.read_uint8(), 0);
    EXPECT_EQ(reader.read_uint8(), 255);
}

TEST(FieldReader, EachFieldKnowsWhereItStandsWithoutItsBlanks) {
    const std::string text = crlf({"pendenza,  14100,  -6", "  [curve]  ", "orologio,    6     32"});
    FieldReader reader(text);
    struct Expected {
        char request;
        int line, column, end_column;
    };
    const std::vector<Expected> expected{
        {'t', 1, 1, 9}, {'n', 1, 12, 17}, {'n', 1, 20, 22}, {'t', 2, 3, 10},
        {'t', 3, 1, 9}, {'n', 3, 14, 15}, {'n', 3, 20, 22},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (expected[i].request == 't') {
            reader.read_text();
        } else {
            reader.read_number();
        }
        EXPECT_EQ(reader.last_field().line, expected[i].line) << "field " << i;
        EXPECT_EQ(reader.last_field().column, expected[i].column) << "field " << i;
        EXPECT_EQ(reader.last_field().end_column, expected[i].end_column) << "field " << i;
    }
    EXPECT_EQ(text_line(text, 2), "  [curve]  ");
}

TEST(FieldReader, AFailureNamesTheFieldThatCouldNotBeRead) {
    FieldReader reader(crlf({"pendenza,  14100", "velocita,  12x"}));
    reader.read_text();
    reader.read_number();
    reader.read_text();
    try {
        reader.read_number();
        FAIL() << "12x was read as a number";
    } catch (const ReadingFailure& failure) {
        ASSERT_TRUE(failure.where().has_value());
        EXPECT_EQ(failure.where()->line, 2);
        EXPECT_EQ(failure.where()->column, 12);
        EXPECT_EQ(failure.where()->end_column, 15);
    }
}

}  // namespace
}  // namespace scenariogen
