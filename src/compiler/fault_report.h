// The text of a recorded fault, in the form compilers use:
//   FILE:LINE:COLUMN: error N: sentence (at P m)
// followed, when the fault has a place in a file, by the source line and a
// caret under the field.
#pragma once

#include <string>
#include <string_view>

#include "compiler/diagnostic.h"

namespace scenariogen {

// The names and texts of the two descriptions, for the places of faults.
struct SourceTexts {
    std::string line_name;
    std::string_view line_text;
    std::string train_name;
    std::string_view train_text;
};

std::string format_fault(const Diagnostic& fault, const SourceTexts& sources);

// The text of one line of a description (1-based), without its line end.
std::string source_line(std::string_view text, int line);

}  // namespace scenariogen
