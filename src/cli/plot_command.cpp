#include <ostream>

#include "cli/commands.h"
#include "cli/generation_run.h"
#include "format/scenario_files.h"
#include "platform/file_system.h"
#include "views/plot/scenario_plot.h"

namespace scenariogen {

int run_plot(const PlotOptions& options, std::ostream& err) {
    if (options.name.empty() || options.name.find('/') != std::string::npos ||
        options.train_number.find('/') != std::string::npos) {
        err << "scenariogen: the scenario name must not be empty, and neither it nor the train number may hold '/'\n";
        return kUsage;
    }
    const ScenarioFiles files{options.folder, options.name, options.train_number};
    const std::string cells_path = files.cells();
    const std::string table_path = files.station_table();
    const std::string grid_path = files.grid();
    std::string cells, table, grid;
    try {
        cells = read_file(cells_path);
        table = read_file(table_path);
        grid = read_file(grid_path);
    } catch (const FileError& failure) {
        err << "scenariogen: cannot read " << failure.path() << ": " << failure.reason() << "\n"
            << "scenariogen: plot needs the three files of a compiled scenario in " << options.folder
            << " (see --name and --train)\n";
        return kUsage;
    }
    ScenarioPlot plot;
    try {
        plot = plot_scenario(cells, table, grid);
    } catch (const ScenarioDecodeError& error) {
        const std::string& path = error.file() == FileKind::kCells          ? cells_path
                                  : error.file() == FileKind::kStationTable ? table_path
                                                                            : grid_path;
        err << "scenariogen: " << path << ": " << error.what() << "\n";
        return kFaultRecorded;
    }
    const std::string output = options.output.empty()
                                   ? join_path(options.folder, options.name + "_" + options.train_number + ".svg")
                                   : options.output;
    try {
        replace_file(output, plot.svg);
    } catch (const FileError& failure) {
        err << "scenariogen: cannot write " << failure.path() << ": " << failure.reason() << "\n";
        return kOutputFailed;
    }
    return kSuccess;
}

}  // namespace scenariogen
