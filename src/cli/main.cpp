#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "platform/interruption.h"
#include "platform/process_start.h"

int main(int argc, char** argv) {
    try {
        scenariogen::prepare_standard_streams();
        scenariogen::install_interruption_handlers();
        std::vector<std::string> arguments = scenariogen::command_line_arguments(argc, argv);
        std::vector<char*> pointers;
        for (std::string& argument : arguments) pointers.push_back(argument.data());
        pointers.push_back(nullptr);
        return scenariogen::run_command_line(static_cast<int>(arguments.size()), pointers.data());
    } catch (const std::exception& slip) {
        // A fault of the program itself, never of the author's data: say so, and end without a core dump.
        std::cerr << "scenariogen: internal error: " << slip.what() << "\nPlease report it with the files you used.\n";
        return 70;
    }
}
