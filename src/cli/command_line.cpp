#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <map>

#include "cli/commands.h"
#include "cli/generation_run.h"
#include "platform/file_system.h"
#include "platform/program_folder.h"

namespace scenariogen {

namespace {

void add_compile(CLI::App& app, CompileOptions& options) {
    CLI::App* compile =
        app.add_subcommand("compile", "Compile your own line and train descriptions into the simulator's binary files");
    compile->add_option("LINE", options.line, "The line description")->required();
    compile->add_option("TRAIN", options.train, "The train description")->required();
    compile->add_option("-o,--output", options.output, "Write into DIR (default: the current folder)")
        ->option_text("DIR");
    compile->add_option("--name", options.name, "Scenario name, the start of every file name")->capture_default_str();
    compile->add_option("--train", options.train_number, "Train number, part of the file names")->capture_default_str();
    compile->add_flag("--no-grid", options.no_grid, "Neither build nor write the plan grid");
}

void add_dump(CLI::App& app, DumpCommandOptions& options) {
    CLI::App* dump = app.add_subcommand("dump", "Show what a cell file, station table or grid file holds");
    dump->add_option("FILE", options.file, "A binary file written by scenariogen")->required();
    dump->add_flag("--json", options.json, "JSON instead of a table");
    dump->add_flag("--all", options.dump.all_cells, "Every cell that holds anything, not only changes");
    dump->add_option("--every", options.dump.every, "Grid: one row every N metres")
        ->option_text("N")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    const std::map<std::string, FileKind> kinds{
        {"cells", FileKind::kCells}, {"stations", FileKind::kStationTable}, {"grid", FileKind::kGrid}};
    dump->add_option("--kind", options.kind, "The file's kind, when its name does not tell")
        ->transform(CLI::CheckedTransformer(kinds));
}

void add_plot(CLI::App& app, PlotOptions& options) {
    CLI::App* plot = app.add_subcommand(
        "plot", "Draw the plan and the profile of a compiled scenario as one SVG page (A4 landscape)");
    plot->add_option("DIR", options.folder, "The folder that holds the scenario's three binary files")->required();
    plot->add_option("--name", options.name, "Scenario name, the start of every file name")->capture_default_str();
    plot->add_option("--train", options.train_number, "Train number, part of the file names")->capture_default_str();
    plot->add_option("-o,--output", options.output, "Write the picture to FILE (default: DIR/NAME_NUMBER.svg)")
        ->option_text("FILE.svg");
}

}  // namespace

int run_command_line(int argc, char** argv) {
    CLI::App app{
        "Generates the scenario Zervano-Odelma with train 27340: writes the line and train descriptions, "
        "compiles them into the simulator's three binary files and writes the driver's three documents.\n"
        "With a command, compiles your own descriptions or shows what a binary file holds."};
    app.name("scenariogen");
    std::string output;
    app.add_option("-o,--output", output, "Write into DIR (it must exist) instead of the program's folder")
        ->option_text("DIR");
    CompileOptions compile;
    compile.name = kNomeScenario;
    compile.train_number = kNumeroTreno;
    add_compile(app, compile);
    DumpCommandOptions dump;
    add_dump(app, dump);
    PlotOptions plot;
    plot.name = kNomeScenario;
    plot.train_number = kNumeroTreno;
    add_plot(app, plot);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        std::cerr << "scenariogen: " << error.what() << "\nRun 'scenariogen --help' for the usage.\n";
        return kUsage;
    }
    if (app.got_subcommand("compile")) return run_compile(compile, std::cerr);
    if (app.got_subcommand("dump")) return run_dump(dump, std::cout, std::cerr);
    if (app.got_subcommand("plot")) return run_plot(plot, std::cerr);
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
