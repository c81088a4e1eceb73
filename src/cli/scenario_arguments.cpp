#include "cli/scenario_arguments.h"

#include <CLI/CLI.hpp>
#include <ostream>

namespace scenariogen {

void add_folder_option(CLI::App& command, std::string& folder) {
    command
        .add_option("-C", folder,
                    "Work in DIR: its scenario.json names the scenario, and the paths given are taken from there")
        ->option_text("DIR");
}

void ScenarioArguments::add_to(CLI::App& command) {
    command.add_option("LINE", line_, "The line description (default: the one scenario.json names)");
    command.add_option("TRAIN", train_,
                       "The train description (default: the one scenario.json names, else the NAME_NUMBER-.txt "
                       "beside NAME_linea.txt)");
    name_option_ = command.add_option(
        "--name", name_,
        "Scenario name, the start of every file name (default: from scenario.json, else from NAME_linea.txt)");
    number_option_ = command.add_option(
        "--train", number_,
        "Train number, part of the file names (default: from scenario.json, else from NAME_NUMBER-.txt)");
    add_folder_option(command, folder_);
}

std::optional<ScenarioLookup> ScenarioArguments::look_up(std::ostream& err) const {
    ScenarioRequest request{folder_, line_, train_, std::nullopt, std::nullopt};
    if (name_option_ && name_option_->count() > 0) request.name = name_;
    if (number_option_ && number_option_->count() > 0) request.number = number_;
    ScenarioLookup lookup = look_up_scenario(request);
    if (lookup.project) report_project_faults(*lookup.project, err);
    if (!lookup.failure.empty()) err << "scenariogen: " << lookup.failure << "\n";
    if (!lookup.usable()) return std::nullopt;
    return lookup;
}

std::string ScenarioArguments::output_folder(const std::string& given, const ScenarioLookup& lookup) const {
    if (!given.empty()) return from_folder(given);
    if (!lookup.output_folder.empty()) return lookup.output_folder;
    return folder_.empty() ? "." : folder_;
}

void report_project_faults(const ProjectFile& project, std::ostream& err) {
    for (const ProjectDiagnostic& fault : project.faults) err << format_project_diagnostic(fault, project.text);
}

void warn_of_default_names(const ScenarioNames& names, const std::vector<std::string>& files, std::ostream& err) {
    if (!names.defaulted()) return;
    const bool name = names.name_origin == NameOrigin::kDefault;
    const bool number = names.number_origin == NameOrigin::kDefault;
    err << "scenariogen: warning: "
        << (name && number ? "neither a scenario name nor a train number was found"
            : name         ? "no scenario name was found"
                           : "no train number was found")
        << ", so the fixed scenario's "
        << (name && number ? "names are"
            : name         ? "name is"
                           : "number is")
        << " used and these files are written:";
    for (const std::string& file : files) err << " " << file;
    err << "\nscenariogen: note: choose the names with --name and --train, in a scenario.json beside the line "
           "description, or by naming the descriptions NAME_linea.txt and NAME_NUMBER-.txt\n";
}

}  // namespace scenariogen
