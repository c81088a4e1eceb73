#include <exception>
#include <iostream>

#include "cli/command_line.h"

int main(int argc, char** argv) {
    try {
        return scenariogen::run_command_line(argc, argv);
    } catch (const std::exception& slip) {
        // A fault of the program itself, never of the author's data: say so, and end without a core dump.
        std::cerr << "scenariogen: internal error: " << slip.what() << "\nPlease report it with the files you used.\n";
        return 70;
    }
}
