// The text of a recorded fault, in the form compilers use:
//   FILE:LINE:COLUMN: error N: sentence (at P m)
// followed, when the fault has a place in a file, by the source line and a
// caret under the field.
#pragma once

#include <string>

#include "compiler/error_numbers.h"

namespace scenariogen {

std::string format_fault(const Fault& fault);

}  // namespace scenariogen
