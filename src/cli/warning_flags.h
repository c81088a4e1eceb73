// The warning options as compilers have them: -Werror, -Werror=NAME,
// -Wno-error=NAME, -WNAME, -Wno-NAME; the list of the warnings' names; and
// a misspelt name answered with the nearest one.
#pragma once

#include <iosfwd>
#include <string>

#include "lint/warnings.h"

namespace CLI {
class App;
}

namespace scenariogen {

// One -W flag, without its "-W", into the options.
void add_warning_flag(const std::string& flag, WarningOptions& options);

// False, with a message for each (and the nearest name), when a flag names no warning.
bool warning_names_known(const WarningOptions& options, std::ostream& err);

// The warnings' names with their meanings, one a line, for --help and --list-warnings.
std::string warning_list();

// Adds --list-warnings to a command, and the list to its --help.
void describe_warnings(CLI::App& command);

}  // namespace scenariogen
