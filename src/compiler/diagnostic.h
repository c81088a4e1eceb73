// Diagnostics: every fault, warning and note about a description is data
// with a place in one of the two texts, returned to the caller. The
// compiler's numbered faults carry their error number; the strict check's
// diagnostics carry a name instead.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "syntax/source_range.h"

namespace scenariogen {

enum class Severity { kError, kWarning, kNote };

struct Diagnostic {
    Severity severity = Severity::kError;
    std::int32_t number = 0;               // the compiler's error number; 0 for the strict check's diagnostics
    std::string name;                      // the strict check's name for it (a warning's -W name)
    std::string message;                   // one sentence, in the author's terms
    std::string detail;                    // what went wrong, for a reading failure (error 25)
    std::optional<SourceRange> where;      // none: a fault of the whole description
    std::optional<std::int32_t> position;  // metres along the route, when the fault names one
    std::optional<std::int32_t> cell;      // post-processing faults: the cell
    // A fault recorded again where the reading stops because of an earlier
    // fault of that number (error 15 before a signal or slowdown line).
    bool repeats_earlier = false;
};

using Diagnostics = std::vector<Diagnostic>;

}  // namespace scenariogen
