// The three documents for the driver: train card, slowdown order and notes.
// Each is fixed text; the line lists end with the sentinel.
#pragma once

#include "text/text_lines.h"

namespace scenariogen {

LineList train_card_lines();      // the train card, 44 lines
LineList slowdown_order_lines();  // the slowdown order, 46 lines
LineList notes_lines();           // the notes, 135 lines

}  // namespace scenariogen
