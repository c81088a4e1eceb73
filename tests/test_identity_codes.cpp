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
    EXPECT_EQ(finestra_identita("ab", "c"), "abcaabbccddeeffgghhiillmm");
    EXPECT_EQ(codice_gara_og(tabella), 2546);
    EXPECT_EQ(codice_gara_st(tabella), 33756);
}

TEST(IdentityCodes, LetterCaseDoesNotMatter) {
    const auto lower = table_with("27340", "zervano-odelmavmod");
    const auto mixed = table_with("27340", "Zervano-OdelmaVmod");
    EXPECT_EQ(codice_gara_og(lower), codice_gara_og(mixed));
    EXPECT_EQ(codice_gara_st(lower), codice_gara_st(mixed));
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
    EXPECT_EQ(codice_gara_og(tabella), plain);
    EXPECT_EQ(codice_gara_st(tabella), weighted);
}

TEST(IdentityCodes, OrderWithinTheWindowChangesOnlyTheWeightedCode) {
    const auto one = table_with("12", "xy");
    const auto other = table_with("21", "yx");
    EXPECT_EQ(codice_gara_og(one), codice_gara_og(other));
    EXPECT_NE(codice_gara_st(one), codice_gara_st(other));
}

TEST(IdentityCodes, CharactersAfterTheTwentyFifthAreIgnored) {
    const auto base = table_with("27340", "Zervano-OdelmaVmodABCDEFG");  // exactly 30 characters
    const auto longer = table_with("27340", "Zervano-OdelmaVmodABCDEFGHIJKLMNOP");
    EXPECT_EQ(codice_gara_og(base), codice_gara_og(longer));
    EXPECT_EQ(codice_gara_st(base), codice_gara_st(longer));
}

}  // namespace
}  // namespace scenariogen
