// The running-time model's options, shared by `check` and `plot`: each a
// number above 0, refused with a short message otherwise.
#pragma once

#include "timetable/train_model.h"

namespace CLI {
class App;
}

namespace scenariogen {

// Adds --acceleration, --braking and --max-speed to `command`.
void add_model_options(CLI::App& command, TrainModelChoice& choice);

}  // namespace scenariogen
