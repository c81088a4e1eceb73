#include <gtest/gtest.h>

#include "content/description_files.h"
#include "test_support.h"

namespace scenariogen {
namespace {

TEST(DescriptionFiles, LineDescriptionSizeAndLandmarks) {
    const std::string bytes = testing::own_line_text();
    EXPECT_EQ(bytes.size(), 3631u);
    const auto lines = testing::crlf_lines(bytes);
    ASSERT_EQ(lines.size(), 88u);
    const std::vector<std::pair<std::size_t, std::string>> expected{
        {1, "[generale]"},
        {2, "lunghezza percorso,  46000"},
        {4, "progressiva chilometrica due,  12700,  49600,  1"},
        {9, "ripetizione segnali 4 codici,  0,  0"},
        {11, "curvad4,  650,  1000"},
        {33, "pendenza,  14100,  -6"},
        {43, "indicatori_vmax,  700,  130,  140,  140,  0,    ,    ,    ,  0"},
        {51, "cartello_indicatore,  550,     (Diramazione per)(    GORVENTA)"},
        {80, "cartello_indicatore,  33150,     ( Ex raccordo  )(stabilimento)( industriale)"},
        {88, "[fine]"},
    };
    for (const auto& [number, text] : expected) EXPECT_EQ(lines[number - 1], text) << "line " << number;
}

TEST(DescriptionFiles, TrainDescriptionSizeAndLandmarks) {
    const std::string bytes = testing::own_train_text();
    EXPECT_EQ(bytes.size(), 1919u);
    const auto lines = testing::crlf_lines(bytes);
    ASSERT_EQ(lines.size(), 40u);
    EXPECT_EQ(lines[4], "orologio,    6               32            50 ");
    EXPECT_EQ(lines[22],
              "stazione,  41000,  2,  600,  0,  0,  1,  1,  1,  0,  3,  4,  1,  60,  7,  20,  0,   "
              "ODELMA S.LEONARDINO");
    EXPECT_EQ(lines[39], "[fine]");
}

TEST(DescriptionFiles, PlainAsciiAndNoSentinel) {
    for (const std::string& bytes : {testing::own_line_text(), testing::own_train_text()}) {
        EXPECT_EQ(bytes.find(kSentinel), std::string::npos);
        for (const char c : bytes) {
            const auto u = static_cast<unsigned char>(c);
            EXPECT_TRUE((u >= 0x20 && u < 0x7F) || c == '\r' || c == '\n') << "byte " << int(u);
        }
    }
}

TEST(DescriptionFiles, KeywordLineComposition) {
    EXPECT_EQ(keyword_line("sfondo uno", {1}), "sfondo uno,  1");
    EXPECT_EQ(keyword_line("x", {std::nullopt, -6}), "x,    ,  -6");
}

}  // namespace
}  // namespace scenariogen
