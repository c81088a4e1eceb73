// What the program takes from the system at its start: its arguments as
// UTF-8, and standard streams that carry bytes as they are.
#pragma once

#include <string>
#include <vector>

namespace scenariogen {

// The arguments, the program's name first, in UTF-8. On Windows they are
// read as UTF-16 from the system and `argv` is not used.
std::vector<std::string> command_line_arguments(int argc, char** argv);

// Prepares the standard streams: on Windows, the standard output and error
// carry bytes without line-end translation, and the console shows UTF-8 text.
void prepare_standard_streams();

}  // namespace scenariogen
