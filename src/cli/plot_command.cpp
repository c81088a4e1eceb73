// `scenariogen plot`: the plan and the profile of a compiled scenario on
// one A4 page, with the train's fastest run over the profile and on request
// the time-distance graph on a second page; as SVG, PNG or PDF.
#include <CLI/CLI.hpp>
#include <map>
#include <optional>
#include <ostream>
#include <variant>

#include "cli/command.h"
#include "cli/command_output.h"
#include "cli/model_options.h"
#include "cli/scenario_arguments.h"
#include "content/fixed_scenario.h"
#include "format/scenario_files.h"
#include "pipeline/compiled_scenarios.h"
#include "platform/file_system.h"
#include "views/plot/page_export.h"
#include "views/plot/scenario_plot.h"

namespace scenariogen {

namespace {

struct PlotOptions {
    std::string folder;
    std::string name = kScenarioName;
    std::string train_number = kTrainNumber;
    std::string output;                // empty: FOLDER/NAME_NUMBER.svg, .png or .pdf
    std::optional<PageFormat> format;  // none: told by the output's name, else SVG
    double dpi = 150;
    RunDrawing run{.driving_curve = true, .time_distance_graph = false, .model = {}};
};

bool ends_with(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

PageFormat format_of(const PlotOptions& options) {
    if (options.format) return *options.format;
    if (ends_with(options.output, ".png")) return PageFormat::kPng;
    if (ends_with(options.output, ".pdf")) return PageFormat::kPdf;
    return PageFormat::kSvg;
}

const char* extension_of(PageFormat format) {
    return format == PageFormat::kPng ? ".png" : format == PageFormat::kPdf ? ".pdf" : ".svg";
}

// The drawing of the three files, or the exit status of a failure, said.
std::variant<ScenarioPlot, int> draw(const PlotOptions& options, const RunDrawing& run, std::ostream& err) {
    const ScenarioFiles files{options.folder, options.name, options.train_number};
    const std::string cells_path = files.cells(), table_path = files.station_table(), grid_path = files.grid();
    try {
        const std::string cells = read_file(cells_path);
        const std::string table = read_file(table_path);
        FileInput grid(grid_path);
        try {
            return plot_scenario(cells, table, grid, grid.size(), run);
        } catch (const ScenarioDecodeError& error) {
            const std::string& path = error.file() == FileKind::kCells          ? cells_path
                                      : error.file() == FileKind::kStationTable ? table_path
                                                                                : grid_path;
            err << "scenariogen: " << path << ": " << error.message() << " at byte offset " << error.offset() << "\n";
            return kFaultRecorded;
        }
    } catch (const FileError& failure) {
        err << "scenariogen: cannot read " << failure.path() << ": " << failure.reason() << "\n"
            << "scenariogen: plot needs the three files of a compiled scenario in " << options.folder
            << " (see --name and --train)\n";
        return kUsage;
    }
}

int run_plot(const PlotOptions& options, Console& console) {
    std::ostream& err = console.err;
    if (options.name.empty() || !is_plain_file_name(options.name + "_") ||
        !is_plain_file_name(options.train_number + "_")) {
        err << "scenariogen: the scenario name must not be empty, and neither it nor the train number may hold a "
               "path separator\n";
        return kUsage;
    }
    const PageFormat format = format_of(options);
    if (format != PageFormat::kSvg && !page_rendering_unavailable().empty()) {
        err << "scenariogen: " << page_rendering_unavailable() << "\n";
        return kUsage;
    }
    // A PDF holds the time-distance graph as its second page.
    RunDrawing run = options.run;
    run.time_distance_graph = run.time_distance_graph || format == PageFormat::kPdf;
    std::variant<ScenarioPlot, int> drawn = draw(options, run, err);
    if (const int* status = std::get_if<int>(&drawn)) return *status;
    const ScenarioPlot& plot = std::get<ScenarioPlot>(drawn);
    if (plot.run_left_out) {
        err << "scenariogen: " << ScenarioFiles{options.folder, options.name, options.train_number}.station_table()
            << " holds no braked-mass percentage: the train's run is left out (give its braking with --braking)\n";
    }
    std::string bytes;
    try {
        bytes = page_bytes(plot.svg, plot.pages, format, options.dpi);
    } catch (const PageRenderError& failure) {
        err << "scenariogen: the page could not be rendered: " << failure.what() << "\n";
        return kOutputFailed;
    }
    const std::string output =
        options.output.empty()
            ? join_path(options.folder, options.name + "_" + options.train_number + extension_of(format))
            : options.output;
    return write_command_output(output, bytes, console);
}

class PlotCommand : public Command {
public:
    CLI::App* add_to(CLI::App& app) override {
        CLI::App* plot = app.add_subcommand(
            "plot",
            "Draw the plan and the profile of a compiled scenario, with the train's fastest run, on an A4 page "
            "(SVG, PNG or PDF)");
        plot->add_option("DIR", options_.folder,
                         "The folder that holds the scenario's three binary files (default: the current one)");
        name_option_ = plot->add_option(
            "--name", options_.name,
            "Scenario name, the start of every file name (default: from DIR's scenario.json, else the one "
            "scenario compiled in DIR)");
        number_option_ = plot->add_option("--train", options_.train_number,
                                          "Train number, part of the file names (default: as for --name)");
        add_folder_option(*plot, project_folder_);
        plot->add_option("-o,--output", options_.output,
                         "Write the picture to FILE, or to the standard output for - (default: DIR/NAME_NUMBER.svg, "
                         ".png or .pdf)")
            ->option_text("FILE");
        const std::map<std::string, PageFormat> formats{
            {"svg", PageFormat::kSvg}, {"png", PageFormat::kPng}, {"pdf", PageFormat::kPdf}};
        plot->add_option("--format", options_.format,
                         "svg, png or pdf (default: told by the name of -o, else svg); a PDF holds the "
                         "time-distance graph as its second page")
            ->transform(CLI::CheckedTransformer(formats))
            ->option_text("svg|png|pdf");
        plot->add_option("--dpi", options_.dpi, "The resolution of a PNG, pixels per inch (10 to 1200)")
            ->option_text("N")
            ->check(CLI::Range(10.0, 1200.0))
            ->capture_default_str();
        plot->add_flag("--graph", options_.run.time_distance_graph,
                       "Add a second page: the time-distance graph of the timetable and the train's fastest run");
        add_model_options(*plot, options_.run.model);
        return plot;
    }

    int run(Console& console) override {
        PlotOptions options = options_;
        options.folder = options_.folder.empty() ? project_folder_ : path_from(project_folder_, options_.folder);
        const auto given = [](const CLI::Option* option, const std::string& value) {
            return option->count() > 0 ? std::optional(value) : std::nullopt;
        };
        const CompiledLookup found = look_up_compiled_scenario(options.folder, given(name_option_, options_.name),
                                                               given(number_option_, options_.train_number));
        if (found.project) report_project_faults(*found.project, console.err);
        if (!found.failure.empty()) console.err << "scenariogen: " << found.failure << "\n";
        if (!found.usable()) return kUsage;
        options.folder = found.folder.empty() ? "." : found.folder;
        if (!options.output.empty() && options.output != "-")
            options.output = path_from(project_folder_, options.output);
        options.name = found.names.name;
        options.train_number = found.names.number;
        return run_plot(options, console);
    }

private:
    PlotOptions options_;
    std::string project_folder_;
    CLI::Option* name_option_ = nullptr;
    CLI::Option* number_option_ = nullptr;
};

}  // namespace

std::unique_ptr<Command> make_plot_command() { return std::make_unique<PlotCommand>(); }

}  // namespace scenariogen
