#include "pipeline/scenario_names.h"

#include <algorithm>

#include "pipeline/json_places.h"
#include "platform/file_system.h"

namespace scenariogen {

namespace {

// The fixed scenario's names, which the generation run writes under.
constexpr std::string_view kDefaultName = "Zervano-OdelmaVmod";
constexpr std::string_view kDefaultNumber = "27340";
// A name the program can begin a file name with.
bool usable(const std::string& name) { return is_plain_file_name(name + "_"); }

// The project file beside LINE, and whether it speaks for LINE and TRAIN.
void read_project_beside(ScenarioLookup& lookup) {
    lookup.project = read_project_file(folder_of(lookup.line_path));
    if (!lookup.project || !lookup.project->faults.empty()) return;
    lookup.project_applies =
        lookup.project->names_line(lookup.line_path) || lookup.project->names_train(lookup.train_path);
}

// The project file beside `path` when it names `path`: the pair it names.
bool paired_by_project(ScenarioLookup& lookup, const std::string& path) {
    lookup.project = read_project_file(folder_of(path));
    if (!lookup.project || !lookup.project->faults.empty()) return lookup.project.has_value();
    const ProjectFile& project = *lookup.project;
    const bool as_line = project.names_line(path);
    if (!as_line && !project.names_train(path)) return false;
    lookup.project_applies = true;
    lookup.line_path = project.line_path();
    lookup.train_path = project.train_path();
    if (lookup.line_path.empty() || lookup.train_path.empty()) {
        lookup.failure = project.path + " names " + path + " but no " + (as_line ? "train" : "line") +
                         " description to go with it: give " + (as_line ? "TRAIN" : "LINE") + " too";
    }
    return true;
}

// One description given: the pair the project file beside it names, else
// its partner by the descriptions' file names.
void find_partner(ScenarioLookup& lookup, const std::string& path) {
    if (paired_by_project(lookup, path)) return;
    const std::string file = file_name_of(path);
    const std::optional<NamedPartners> named = partners_by_name(path, file_exists);
    const std::optional<TrainFileName> train = train_file_name(file);
    if (!named || (!named->is_line && train && train->name.empty())) {
        lookup.failure =
            "give LINE and TRAIN: " + file +
            " is named neither NAME_linea.txt nor NAME_NUMBER-.txt, which would find its partner, and no " +
            std::string(kProjectFileName) + " beside it names it";
        return;
    }
    if (named->paths.empty()) {
        lookup.failure = named->is_line ? "no train description " + *line_file_scenario(file) +
                                              "_NUMBER-.txt lies beside " + path + ": give TRAIN too"
                                        : "no line description " + train->name + std::string(kLineFileSuffix) +
                                              " lies beside " + path + ": give LINE too";
        return;
    }
    if (named->paths.size() > 1) {
        lookup.failure = "several train descriptions lie beside " + path + ":";
        for (const std::string& partner : named->paths) lookup.failure += " " + file_name_of(partner);
        lookup.failure += ": give the one to compile with as TRAIN";
        return;
    }
    lookup.line_path = named->is_line ? path : named->paths.front();
    lookup.train_path = named->is_line ? named->paths.front() : path;
}

// The project file of the folder names both descriptions.
void read_project_of_folder(ScenarioLookup& lookup, const std::string& folder) {
    lookup.project = read_project_file(folder);
    if (!lookup.project) {
        lookup.failure =
            "no LINE and TRAIN were given, and " + path_in(folder, kProjectFileName) + " does not exist to name them";
        return;
    }
    ProjectFile& project = *lookup.project;
    if (!project.faults.empty()) return;
    const TextPlace brace = place_of_offset(project.text, project.text.find('{'));
    const auto require = [&](const std::string& value, const std::string& member, const char* example) {
        if (!value.empty()) return;
        project.faults.push_back(
            ProjectDiagnostic{project.path, brace.line, brace.column, brace.column + 1,
                              "names no " + member + " description: add \"" + member + "\": \"" + example + "\""});
    };
    require(project.line, "line", "NAME_linea.txt");
    require(project.train, "train", "NAME_NUMBER-.txt");
    lookup.line_path = project.line_path();
    lookup.train_path = project.train_path();
    lookup.project_applies = true;
}

}  // namespace

FileNameNames names_in_file_names(const std::string& line_path, const std::string& train_path) {
    FileNameNames names;
    if (const std::optional<TrainFileName> train = train_file_name(file_name_of(train_path));
        train && !train->name.empty()) {
        names.name = train->name;
        names.number = train->number;
    }
    if (const std::optional<std::string> name = line_file_scenario(file_name_of(line_path))) names.name = name;
    if (names.name && !usable(*names.name)) names.name.reset();
    if (names.number && !usable(*names.number)) names.number.reset();
    return names;
}

ScenarioNames scenario_names(const std::string& line_path, const std::string& train_path, const ProjectFile* project,
                             const std::optional<std::string>& name, const std::optional<std::string>& number) {
    const FileNameNames in_file_names = names_in_file_names(line_path, train_path);
    const auto pick = [&](const std::optional<std::string>& given, const std::string* in_project,
                          const std::optional<std::string>& in_files, std::string_view fixed,
                          NameOrigin& origin) -> std::string {
        origin = NameOrigin::kCommandLine;
        if (given) return *given;
        origin = NameOrigin::kProjectFile;
        if (in_project && !in_project->empty()) return *in_project;
        origin = NameOrigin::kFileNames;
        if (in_files) return *in_files;
        origin = NameOrigin::kDefault;
        return std::string(fixed);
    };
    ScenarioNames names;
    names.name = pick(name, project ? &project->name : nullptr, in_file_names.name, kDefaultName, names.name_origin);
    names.number =
        pick(number, project ? &project->number : nullptr, in_file_names.number, kDefaultNumber, names.number_origin);
    return names;
}

ScenarioLookup look_up_scenario(const ScenarioRequest& request) {
    ScenarioLookup lookup;
    if (request.line.empty() && request.train.empty()) {
        read_project_of_folder(lookup, request.folder);
    } else if (request.line.empty() || request.train.empty()) {
        find_partner(lookup, path_from(request.folder, request.line.empty() ? request.train : request.line));
    } else {
        lookup.line_path = path_from(request.folder, request.line);
        lookup.train_path = path_from(request.folder, request.train);
        read_project_beside(lookup);
    }
    if (!lookup.usable()) return lookup;
    const ProjectFile* project = lookup.project_applies ? &*lookup.project : nullptr;
    lookup.names = scenario_names(lookup.line_path, lookup.train_path, project, request.name, request.number);
    if (project) lookup.output_folder = project->output_folder();
    return lookup;
}

}  // namespace scenariogen
