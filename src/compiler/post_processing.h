// The placement rules that complete the cells after the reading: code-drop
// points with the value 180 before the signals that precede a slowdown
// warning (rule A), at three distances before every slowdown start (rule B),
// every 400 m along slow slowdowns (rule C) and before the first signal
// after a slowdown (rule D).
#pragma once

#include <cstdint>

#include "compiler/compilation_state.h"

namespace scenariogen {

inline constexpr std::int16_t kAddedCodeDropValue = 180;

// y when x is greater than y, otherwise x.
std::int16_t lower_of(std::int16_t x, std::int16_t y);

// Applies the rules to every cell 1 to U - 2 in turn.
void apply_placement_rules(CompilationState& s);

}  // namespace scenariogen
