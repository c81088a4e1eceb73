// Where a command that makes one file puts it: the standard output for "-",
// or a file, replaced atomically.
#pragma once

#include <string>

#include "cli/command.h"

namespace scenariogen {

// Returns kSuccess, or kOutputFailed after saying why on the console.
int write_command_output(const std::string& output, const std::string& bytes, Console& console);

}  // namespace scenariogen
