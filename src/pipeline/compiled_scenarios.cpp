#include "pipeline/compiled_scenarios.h"

#include <algorithm>
#include <set>

#include "platform/file_system.h"

namespace scenariogen {

namespace {

constexpr std::string_view kCells = ".dat";
constexpr std::string_view kStationTable = ".sim";
constexpr std::string_view kGrid = "_linea.dat";

bool ends_with(const std::string& text, std::string_view tail) {
    return text.size() > tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The compiled scenarios that fit the names already known.
std::vector<CompiledScenario> fitting(const std::vector<CompiledScenario>& all, const ScenarioNames& names) {
    std::vector<CompiledScenario> fit;
    for (const CompiledScenario& scenario : all) {
        if (names.name_origin != NameOrigin::kDefault && scenario.name != names.name) continue;
        if (names.number_origin != NameOrigin::kDefault && scenario.number != names.number) continue;
        fit.push_back(scenario);
    }
    return fit;
}

std::string listed(const std::vector<CompiledScenario>& scenarios) {
    std::string list;
    for (const CompiledScenario& scenario : scenarios) {
        list += (list.empty() ? "" : ", ") + scenario.name + "_" + scenario.number;
    }
    return list;
}

}  // namespace

CompiledLookup look_up_compiled_scenario(const std::string& folder, const std::optional<std::string>& name,
                                         const std::optional<std::string>& number) {
    CompiledLookup lookup;
    lookup.folder = folder;
    lookup.project = read_project_file(folder);
    if (lookup.project && !lookup.project->faults.empty()) return lookup;
    const ProjectFile* project = lookup.project ? &*lookup.project : nullptr;
    if (project && !project->output.empty()) lookup.folder = project->output_folder();
    lookup.names = project ? scenario_names(project->line_path(), project->train_path(), project, name, number)
                           : scenario_names({}, {}, nullptr, name, number);
    if (!lookup.names.defaulted()) return lookup;
    const std::vector<CompiledScenario> fit = fitting(compiled_scenarios_in(lookup.folder), lookup.names);
    if (fit.size() > 1) {
        lookup.failure = (lookup.folder.empty() ? std::string(".") : lookup.folder) +
                         " holds several compiled scenarios: " + listed(fit) + "; choose one with --name and --train";
    } else if (fit.size() == 1) {
        ScenarioNames& names = lookup.names;
        if (names.name_origin == NameOrigin::kDefault)
            names = {fit.front().name, names.number, NameOrigin::kFileNames, names.number_origin};
        if (names.number_origin == NameOrigin::kDefault)
            names = {names.name, fit.front().number, names.name_origin, NameOrigin::kFileNames};
    }
    return lookup;
}

std::vector<CompiledScenario> compiled_scenarios_in(const std::string& folder) {
    const std::vector<std::string> listed_files = regular_files_in(folder);
    const std::set<std::string> files(listed_files.begin(), listed_files.end());
    std::vector<CompiledScenario> found;
    for (const std::string& file : files) {
        if (!ends_with(file, kCells)) continue;
        const std::string stem = file.substr(0, file.size() - kCells.size());
        const std::size_t underscore = stem.rfind('_');
        if (underscore == std::string::npos || underscore == 0 || underscore + 1 == stem.size()) continue;
        CompiledScenario scenario{stem.substr(0, underscore), stem.substr(underscore + 1)};
        if (files.count(stem + std::string(kStationTable)) && files.count(scenario.name + std::string(kGrid))) {
            found.push_back(std::move(scenario));
        }
    }
    std::sort(found.begin(), found.end(), [](const CompiledScenario& a, const CompiledScenario& b) {
        return a.name != b.name ? a.name < b.name : a.number < b.number;
    });
    return found;
}

}  // namespace scenariogen
