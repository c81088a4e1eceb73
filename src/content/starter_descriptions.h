// The starting point of a new scenario: a line description and a train
// description for a short line, every kind of line written once, each with a
// comment that says what it does. They compile and check without a
// diagnostic.
#pragma once

#include "text/text_lines.h"

namespace scenariogen {

LineList starter_line_lines();   // closed by the sentinel
LineList starter_train_lines();  // closed by the sentinel

}  // namespace scenariogen
