// The scenario's own line and train, written as the two description files
// that the compiler reads back.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "text/text_lines.h"

namespace scenariogen {

// One keyword line: the keyword, then each value after a comma and two
// blanks; an empty value is written as two blanks.
std::string keyword_line(const std::string& keyword, const std::vector<std::optional<int>>& values);

LineList line_description_lines();   // the line description, 88 lines
LineList train_description_lines();  // the train description, 40 lines

}  // namespace scenariogen
