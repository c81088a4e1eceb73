#include "run/command_line.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "run/file_system.h"
#include "run/generation_run.h"
#include "run/output_folder.h"

namespace scenariogen {

int run_command_line(int argc, char** argv) {
    CLI::App app{
        "Generates the scenario Zervano-Odelma with train 27340: writes the line and train descriptions, "
        "compiles them into the simulator's three binary files and writes the driver's three documents."};
    app.name("scenariogen");
    std::string output;
    app.add_option("-o,--output", output, "Write into DIR (it must exist) instead of the program's folder")
        ->option_text("DIR");
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return kSuccess;
    } catch (const CLI::ParseError& error) {
        std::cerr << "scenariogen: " << error.what() << "\n" << app.help();
        return kUsage;
    }
    try {
        const std::string folder = output.empty() ? program_folder() : output;
        require_folder(folder);
        return Form_Load(folder, std::cerr);
    } catch (const FileError& failure) {
        std::cerr << "scenariogen: " << failure.path() << ": " << failure.reason() << "\n";
        return kOutputFailed;
    }
}

}  // namespace scenariogen
