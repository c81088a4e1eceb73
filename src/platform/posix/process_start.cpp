#include "platform/process_start.h"

namespace scenariogen {

std::vector<std::string> command_line_arguments(int argc, char** argv) { return {argv, argv + argc}; }

void prepare_standard_streams() {}

}  // namespace scenariogen
