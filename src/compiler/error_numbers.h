// Error numbers: faults in the description data are recorded as numbers,
// with the position in metres where they were found. Each number has one
// short sentence that says what it means.
#pragma once

#include <cstdint>
#include <string_view>

namespace scenariogen {

// One short sentence per error number; empty for an unknown number.
std::string_view error_sentence(std::int32_t number);

// Errors 1250 and 1251 end a run: their report is " Errore n. " and the number.
inline constexpr std::string_view kRunEndingPrompt = " Errore n. ";

}  // namespace scenariogen
