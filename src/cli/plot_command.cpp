// `scenariogen plot`: the plan and the profile of a compiled scenario as one
// SVG page, with the train's fastest run over the profile; on request the
// time-distance graph on a second page.
#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/command.h"
#include "cli/model_options.h"
#include "cli/command_output.h"
#include "content/fixed_scenario.h"
#include "format/scenario_files.h"
#include "platform/file_system.h"
#include "views/plot/scenario_plot.h"

namespace scenariogen {

namespace {

struct PlotOptions {
    std::string folder;
    std::string name = kScenarioName;
    std::string train_number = kTrainNumber;
    std::string output;  // empty: FOLDER/NAME_NUMBER.svg
    RunDrawing run{.driving_curve = true, .time_distance_graph = false, .model = {}};
};

int run_plot(const PlotOptions& options, Console& console) {
    std::ostream& err = console.err;
    if (options.name.empty() || !is_plain_file_name(options.name + "_") ||
        !is_plain_file_name(options.train_number + "_")) {
        err << "scenariogen: the scenario name must not be empty, and neither it nor the train number may hold a "
               "path separator\n";
        return kUsage;
    }
    const ScenarioFiles files{options.folder, options.name, options.train_number};
    const std::string cells_path = files.cells();
    const std::string table_path = files.station_table();
    const std::string grid_path = files.grid();
    const auto cannot_read = [&](const FileError& failure) {
        err << "scenariogen: cannot read " << failure.path() << ": " << failure.reason() << "\n"
            << "scenariogen: plot needs the three files of a compiled scenario in " << options.folder
            << " (see --name and --train)\n";
        return kUsage;
    };
    ScenarioPlot plot;
    try {
        const std::string cells = read_file(cells_path);
        const std::string table = read_file(table_path);
        FileInput grid(grid_path);
        try {
            plot = plot_scenario(cells, table, grid, grid.size(), options.run);
        } catch (const ScenarioDecodeError& error) {
            const std::string& path = error.file() == FileKind::kCells          ? cells_path
                                      : error.file() == FileKind::kStationTable ? table_path
                                                                                : grid_path;
            err << "scenariogen: " << path << ": " << error.message() << " at byte offset " << error.offset() << "\n";
            return kFaultRecorded;
        }
    } catch (const FileError& failure) {
        return cannot_read(failure);
    }
    if (plot.run_left_out) {
        err << "scenariogen: " << table_path
            << " holds no braked-mass percentage: the train's run is left out (give its braking with --braking)\n";
    }
    const std::string output = options.output.empty()
                                   ? join_path(options.folder, options.name + "_" + options.train_number + ".svg")
                                   : options.output;
    return write_command_output(output, plot.svg, console);
}

class PlotCommand : public Command {
public:
    CLI::App* add_to(CLI::App& app) override {
        CLI::App* plot = app.add_subcommand(
            "plot",
            "Draw the plan and the profile of a compiled scenario, with the train's fastest run, as one SVG page "
            "(A4 landscape)");
        plot->add_option("DIR", options_.folder, "The folder that holds the scenario's three binary files")->required();
        plot->add_option("--name", options_.name, "Scenario name, the start of every file name")->capture_default_str();
        plot->add_option("--train", options_.train_number, "Train number, part of the file names")
            ->capture_default_str();
        plot->add_option("-o,--output", options_.output,
                         "Write the picture to FILE, or to the standard output for - (default: DIR/NAME_NUMBER.svg)")
            ->option_text("FILE.svg");
        plot->add_flag("--graph", options_.run.time_distance_graph,
                       "Add a second page: the time-distance graph of the timetable and the train's fastest run");
        add_model_options(*plot, options_.run.model);
        return plot;
    }

    int run(Console& console) override { return run_plot(options_, console); }

private:
    PlotOptions options_;
};

}  // namespace

std::unique_ptr<Command> make_plot_command() { return std::make_unique<PlotCommand>(); }

}  // namespace scenariogen
