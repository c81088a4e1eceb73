#include <gtest/gtest.h>

#include "compiler/identity_codes.h"

namespace scenariogen {
namespace {

StationTable table_with(const std::string& numero_treno, const std::string& nome_scenario) {
    StationTable tabella{};
    tabella[kSignallingEntry].name = numero_treno;
    tabella[kScenarioEntry].name = nome_scenario;
    return tabella;
}

TEST(IdentityCodes, WorkedExampleAbc) {
    const auto tabella = table_with("ab", "c");
    EXPECT_EQ(identity_window("ab", "c"), "abcaabbccddeeffgghhiillmm");
    EXPECT_EQ(short_identity_code(tabella), 2546);
    EXPECT_EQ(long_identity_code(tabella), 33756);
}

TEST(IdentityCodes, LetterCaseDoesNotMatter) {
    const auto lower = table_with("27340", "zervano-odelmavmod");
    const auto mixed = table_with("27340", "Zervano-OdelmaVmod");
    EXPECT_EQ(short_identity_code(lower), short_identity_code(mixed));
    EXPECT_EQ(long_identity_code(lower), long_identity_code(mixed));
}

TEST(IdentityCodes, EmptyNamesSumThePadAlone) {
    const auto tabella = table_with("", "");
    // a a b b ... l l m: the first 25 characters of the pad.
    const std::string pad = "aabbccddeeffgghhiillmmnno";
    int plain = 0, weighted = 0;
    for (std::size_t i = 0; i < pad.size(); ++i) {
        plain += static_cast<unsigned char>(pad[i]);
        weighted += static_cast<int>(i + 1) * static_cast<unsigned char>(pad[i]);
    }
    EXPECT_EQ(short_identity_code(tabella), plain);
    EXPECT_EQ(long_identity_code(tabella), weighted);
}

TEST(IdentityCodes, OrderWithinTheWindowChangesOnlyTheWeightedCode) {
    const auto one = table_with("12", "xy");
    const auto other = table_with("21", "yx");
    EXPECT_EQ(short_identity_code(one), short_identity_code(other));
    EXPECT_NE(long_identity_code(one), long_identity_code(other));
}

TEST(IdentityCodes, CharactersAfterTheTwentyFifthAreIgnored) {
    const auto base = table_with("27340", "Zervano-OdelmaVmodABCDEFG");  // exactly 30 characters
    const auto longer = table_with("27340", "Zervano-OdelmaVmodABCDEFGHIJKLMNOP");
    EXPECT_EQ(short_identity_code(base), short_identity_code(longer));
    EXPECT_EQ(long_identity_code(base), long_identity_code(longer));
}

}  // namespace
}  // namespace scenariogen
