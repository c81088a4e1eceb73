// Description files as editors save them: Windows-1252 passes unchanged,
// UTF-8 is transcoded when it can be, anything else is refused at the
// character that stands in the way.
#include <gtest/gtest.h>

#include "lint/check.h"
#include "pipeline/text_preparation.h"
#include "text/description_encoding.h"

namespace scenariogen {
namespace {

using namespace std::string_literals;

TEST(DescriptionEncoding, ReadableTexts) {
    struct Case {
        const char* what;
        std::string raw;
        TextEncoding found;
        std::string windows_1252;
    };
    const std::vector<Case> cases{
        {"plain ASCII", "[generale]\r\n", TextEncoding::kWindows1252, "[generale]\r\n"},
        {"Windows-1252 with a letter beyond ASCII", "CITT\xC0\r\n", TextEncoding::kWindows1252, "CITT\xC0\r\n"},
        {"UTF-8", "CITT\xC3\x80\r\n", TextEncoding::kUtf8, "CITT\xC0\r\n"},
        {"UTF-8 with a mark",
         "\xEF\xBB\xBF"
         "CITT\xC3\x80",
         TextEncoding::kUtf8WithBom, "CITT\xC0"},
        {"UTF-8 with the euro sign and quotes",
         "\xE2\x82\xAC \xE2\x80\x9C"
         "a\xE2\x80\x9D",
         TextEncoding::kUtf8,
         "\x80 \x93"
         "a\x94"},
        {"a mark alone", "\xEF\xBB\xBF", TextEncoding::kUtf8WithBom, ""},
        {"an overlong form is no UTF-8", "a\xC0\x80", TextEncoding::kWindows1252, "a\xC0\x80"},
        {"a surrogate is no UTF-8", "a\xED\xA0\x80", TextEncoding::kWindows1252, "a\xED\xA0\x80"},
        {"zero bytes here and there are no UTF-16", "a\0bcdefgh\r\n"s, TextEncoding::kWindows1252, "a\0bcdefgh\r\n"s},
    };
    for (const Case& c : cases) {
        const DecodedDescription decoded = decode_description(c.raw);
        EXPECT_FALSE(decoded.refused()) << c.what;
        EXPECT_EQ(decoded.found, c.found) << c.what;
        EXPECT_EQ(decoded.windows_1252, c.windows_1252) << c.what;
    }
}

TEST(DescriptionEncoding, CharactersWithoutAWindows1252FormAreFoundWhereTheyStand) {
    // Line 3 counts CR LF, CR and LF each as one line end, as the reader does.
    const DecodedDescription decoded = decode_description("a\r\n\xC3\x80\rxy\xCE\xA9z \xE2\x86\x92\n");
    ASSERT_TRUE(decoded.refused());
    EXPECT_EQ(decoded.found, TextEncoding::kUtf8);
    ASSERT_EQ(decoded.refusals.size(), 2u);
    EXPECT_EQ(decoded.refusals[0].line, 3);
    EXPECT_EQ(decoded.refusals[0].column, 3);
    EXPECT_EQ(decoded.refusals[0].character, U'\u03A9');
    EXPECT_EQ(decoded.refusals[1].column, 6);
    EXPECT_EQ(decoded.refusals[1].character, U'\u2192');
    // The text as far as it goes: one '?' per character, so the columns hold.
    EXPECT_EQ(decoded.windows_1252, "a\r\n\xC0\rxy?z ?\n");
}

TEST(DescriptionEncoding, WideEncodingsAreRefused) {
    const std::vector<std::pair<std::string, TextEncoding>> cases{
        {"\xFF\xFE[\0g\0"s, TextEncoding::kUtf16LittleEndian},
        {"\xFE\xFF\0[\0g"s, TextEncoding::kUtf16BigEndian},
        {"\xFF\xFE\0\0[\0\0\0"s, TextEncoding::kUtf32LittleEndian},
        {"[\0g\0e\0n\0e\0r\0a\0l\0e\0]\0"s, TextEncoding::kUtf16LittleEndian},
        {"\0[\0g\0e\0n\0e\0r\0a\0l\0e\0]"s, TextEncoding::kUtf16BigEndian},
    };
    for (const auto& [raw, found] : cases) {
        const DecodedDescription decoded = decode_description(raw);
        EXPECT_TRUE(decoded.refused());
        EXPECT_EQ(decoded.found, found);
        ASSERT_EQ(decoded.refusals.size(), 1u);
        EXPECT_EQ(decoded.refusals[0].line, 0);
    }
}

TEST(DescriptionEncoding, ABrokenSequenceAfterAUtf8MarkIsRefused) {
    const DecodedDescription decoded = decode_description(
        "\xEF\xBB\xBF"
        "ab\xC3");
    ASSERT_EQ(decoded.refusals.size(), 1u);
    EXPECT_TRUE(decoded.refusals[0].malformed);
    EXPECT_EQ(decoded.refusals[0].column, 3);
    EXPECT_EQ(decoded.refusals[0].character, 0xC3u);
}

TEST(DescriptionEncoding, PreparedTextsCarryTheirDiagnostics) {
    const PreparedText line = prepare_text("[generale]\r\n", SourceFile::kLine, TextSource::kFiles);
    EXPECT_FALSE(line.refused);
    EXPECT_TRUE(line.diagnostics.empty());

    const PreparedText utf8 = prepare_text("CITT\xC3\x80\r\n", SourceFile::kTrain, TextSource::kFiles);
    EXPECT_FALSE(utf8.refused);
    EXPECT_EQ(utf8.windows_1252, "CITT\xC0\r\n");
    ASSERT_EQ(utf8.diagnostics.size(), 1u) << "a file saved as UTF-8 is read with a note";
    EXPECT_EQ(utf8.diagnostics[0].severity, Severity::kNote);
    EXPECT_EQ(utf8.diagnostics[0].where->file, SourceFile::kTrain);
    EXPECT_EQ(utf8.diagnostics[0].where->line, 0);
    EXPECT_TRUE(prepare_text("CITT\xC3\x80\r\n", SourceFile::kTrain, TextSource::kEditor).diagnostics.empty())
        << "an editor's buffer is UTF-8 whatever its file";

    const PreparedText utf16 = prepare_text("\xFF\xFE[\0"s, SourceFile::kLine, TextSource::kFiles);
    EXPECT_TRUE(utf16.refused);
    ASSERT_EQ(utf16.diagnostics.size(), 1u);
    EXPECT_EQ(utf16.diagnostics[0].where->file, SourceFile::kLine);
    EXPECT_NE(utf16.diagnostics[0].message.find("UTF-16 (little-endian)"), std::string::npos);

    // Characters without a Windows-1252 form: the same error in a file and in an editor's buffer.
    for (const TextSource source : {TextSource::kFiles, TextSource::kEditor}) {
        const PreparedText refused = prepare_text("x \xCE\xA9 \xF0\x9F\x9A\x86\r\n", SourceFile::kTrain, source);
        EXPECT_TRUE(refused.refused);
        ASSERT_EQ(refused.diagnostics.size(), 2u);
        EXPECT_EQ(refused.diagnostics[0].name, "encoding");
        EXPECT_EQ(refused.diagnostics[0].where->line, 1);
        EXPECT_EQ(refused.diagnostics[0].where->column, 3);
        EXPECT_NE(refused.diagnostics[0].message.find("'\xCE\xA9' (U+03A9)"), std::string::npos);
        EXPECT_EQ(refused.diagnostics[1].where->column, 5);
    }
}

}  // namespace
}  // namespace scenariogen
