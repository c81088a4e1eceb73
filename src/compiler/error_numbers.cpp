#include "compiler/error_numbers.h"

#include <array>
#include <utility>

namespace scenariogen {

namespace {

constexpr std::array<std::pair<std::int32_t, std::string_view>, 28> kSentences{{
    {1, "the route length is outside 0 to 1000000 m"},
    {2, "a kilometric progressive starts or refers to a position that is not a multiple of 50"},
    {3, "the first signal-repetition value is not a multiple of 50"},
    {4, "the second signal-repetition value is not a multiple of 50"},
    {5, "the signal-repetition keyword names neither 4 nor 9 codes"},
    {6, "the sign board's cell is already occupied"},
    {7, "the code-drop point's cell is already occupied"},
    {8, "the station position is not a multiple of 50"},
    {9, "the station length is not a multiple of 100"},
    {10, "a fixed table is full: stations and sign texts together at most 78, mountain stretches at most 80"},
    {11, "no cell for a code-drop point before a signal that precedes a slowdown warning"},
    {12, "no free cell for a code-drop point before a slowdown start"},
    {13, "no free cell for a code-drop point along or after a slowdown"},
    {15, "the object lies outside the route's cells"},
    {16, "the signal's cell is already occupied"},
    {17, "the slowdown warning's cell is already occupied"},
    {18, "the slowdown start's cell is already occupied"},
    {19, "the slowdown end's cell is already occupied"},
    {20, "a cell before the slowdown warning is already occupied"},
    {21, "the speed-indicator board's cell is already occupied"},
    {22, "the station area starts less than 350 m after the end of the previous one"},
    {24, "the station's end lies too close to the start of the route"},
    {25, "the description could not be read"},
    {101, "the line description file does not exist"},
    {102, "the line description has no [generale] section"},
    {103, "a curve keyword names no class 1 to 6, or the plan passes 1000000 m"},
    {1250, "the header slots were already taken before the header values"},
    {1251, "the identity-code slots were already taken"},
}};

}  // namespace

std::string_view error_sentence(std::int32_t number) {
    for (const auto& [code, sentence] : kSentences) {
        if (code == number) return sentence;
    }
    return {};
}

}  // namespace scenariogen
