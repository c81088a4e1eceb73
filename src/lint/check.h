// The strict check of the description texts, apart from the compilation:
// every line against its keyword's shape, every value against what its field
// can store, every object against the route and the others. Whatever the
// compiler would store other than written, or drop without a word, is an
// error; what is legal but suspicious is a warning with a name (see
// lint/warnings.h). Every fault of both files comes back in one run.
#pragma once

#include <string>
#include <string_view>

#include "compiler/diagnostic.h"

namespace scenariogen {

// Both texts in Windows-1252. The diagnostics come in file order, the line
// description first; each is followed by its notes, which point at the
// other lines involved. Named diagnostics only (`number` 0).
[[nodiscard]] Diagnostics check_descriptions(std::string_view line_text, std::string_view train_text);

}  // namespace scenariogen
