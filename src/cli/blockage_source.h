// The line of a description that makes a leg impossible to run: the speed
// line whose limit of 0 km/h halts the train, the slowdown that does, or the
// gradient line of a climb it cannot make or a descent it cannot brake on.
#pragma once

#include <optional>

#include "compiler/compile.h"
#include "compiler/diagnostic.h"
#include "timetable/fastest_run.h"

namespace scenariogen {

// A note at that line; none when no line of the descriptions sets it.
std::optional<Diagnostic> blockage_note(const Blockage& blockage, const CompileResult& compiled);

}  // namespace scenariogen
