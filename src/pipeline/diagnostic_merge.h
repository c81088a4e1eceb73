// One diagnostic per mistake: where the strict check and the compiler see
// the same fault, one diagnostic stands at the check's place, with the
// check's sentence and name and the compiler's number.
#pragma once

#include "compiler/diagnostic.h"

namespace scenariogen {

// `checked`: the check's diagnostics, each followed by its notes; `faults`:
// the compiler's, in the order found. Each fault goes to the check's first
// diagnostic that cites its number in the same file and line (or, for a
// fault of a whole file, anywhere in that file), else to the check's first
// error at its line without a number; else it stands on its own. A fault
// recorded again because of an earlier one becomes a note of the
// diagnostic that holds that earlier fault. The result is in file order.
[[nodiscard]] Diagnostics merge_diagnostics(Diagnostics checked, const Diagnostics& faults);

// Stable: each diagnostic with its notes, ordered by file (the line
// description first), then line (a whole file's before its lines'), then column.
[[nodiscard]] Diagnostics in_file_order(Diagnostics diagnostics);

}  // namespace scenariogen
