// The command line of the program.
#pragma once

namespace scenariogen {

int run_command_line(int argc, char** argv);

}  // namespace scenariogen
