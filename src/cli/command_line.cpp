#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/command.h"
#include "cli/generation_run.h"
#include "cli/output_folder.h"
#include "platform/file_system.h"
#include "platform/program_folder.h"

namespace scenariogen {

std::vector<std::unique_ptr<Command>> all_commands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(make_compile_command());
    commands.push_back(make_check_command());
    commands.push_back(make_dump_command());
    commands.push_back(make_plot_command());
    commands.push_back(make_preview_command());
    commands.push_back(make_lsp_command());
    commands.push_back(make_explain_command());
    commands.push_back(make_new_command());
    return commands;
}

namespace {

constexpr const char* kDescription =
    "Generates the scenario Zervano-Odelma with train 27340: writes the line and train descriptions, "
    "compiles them into the simulator's three binary files and writes the driver's three documents.\n"
    "With a command, compiles, checks or shows your own descriptions, or shows what a binary file holds.";

int generate(const std::string& output, bool no_wait, std::ostream& err) {
    try {
        const std::string folder = output.empty() ? program_folder() : output;
        require_folder(folder);
        const FolderLock lock = lock_output_folder(folder, no_wait, err);
        return run_generation(folder, err);
    } catch (const FolderBusy& busy) {
        report_busy_folder(busy, err);
        return kOutputFailed;
    } catch (const FileError& failure) {
        err << "scenariogen: " << failure.path() << ": " << failure.reason() << "\n";
        return kOutputFailed;
    }
}

}  // namespace

int run_command_line(int argc, char** argv) {
    CLI::App app{kDescription};
    app.name("scenariogen");
    // Options begin with "-" on every system: on Windows a path may begin with "/" too.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", "scenariogen " SCENARIOGEN_VERSION);
    std::string output;
    app.add_option("-o,--output", output, "Write into DIR (it must exist) instead of the program's folder")
        ->option_text("DIR");
    bool no_wait = false;
    app.add_flag("--no-wait", no_wait, "Fail at once (status 3) when another run is writing into the folder");
    std::vector<std::unique_ptr<Command>> commands = all_commands();
    std::vector<CLI::App*> subcommands;
    for (const auto& command : commands) subcommands.push_back(command->add_to(app));
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version);
    } catch (const CLI::ParseError& error) {
        std::cerr << "scenariogen: " << error.what() << "\nRun 'scenariogen --help' for the usage.\n";
        return kUsage;
    }
    Console console{std::cout, std::cerr};
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (subcommands[i]->parsed()) return commands[i]->run(console);
    }
    return generate(output, no_wait, std::cerr);
}

}  // namespace scenariogen
