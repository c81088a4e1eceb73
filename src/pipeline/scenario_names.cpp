#include "pipeline/scenario_names.h"

#include <algorithm>

#include "pipeline/json_places.h"
#include "platform/file_system.h"

namespace scenariogen {

namespace {

// The fixed scenario's names, which the generation run writes under.
constexpr std::string_view kDefaultName = "Zervano-OdelmaVmod";
constexpr std::string_view kDefaultNumber = "27340";
constexpr std::string_view kLineSuffix = "_linea.txt";
constexpr std::string_view kTrainSuffix = "-.txt";

#ifdef _WIN32
bool is_separator(char c) { return c == '/' || c == '\\'; }
#else
bool is_separator(char c) { return c == '/'; }
#endif

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ends_with_any_case(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char a, char b) { return lower(a) == lower(b); });
}

std::string file_name_of(const std::string& path) {
    const auto last = std::find_if(path.rbegin(), path.rend(), is_separator);
    return std::string(last.base(), path.end());
}

// A name the program can begin a file name with.
bool usable(const std::string& name) { return is_plain_file_name(name + "_"); }

std::optional<std::string> line_name(const std::string& line_path) {
    const std::string file = file_name_of(line_path);
    if (!ends_with_any_case(file, kLineSuffix) || file.size() == kLineSuffix.size()) return std::nullopt;
    return file.substr(0, file.size() - kLineSuffix.size());
}

FileNameNames train_names(const std::string& train_path) {
    const std::string file = file_name_of(train_path);
    if (!ends_with_any_case(file, kTrainSuffix)) return {};
    const std::string stem = file.substr(0, file.size() - kTrainSuffix.size());
    const std::size_t underscore = stem.rfind('_');
    if (underscore == std::string::npos || underscore == 0 || underscore + 1 == stem.size()) return {};
    return {stem.substr(0, underscore), stem.substr(underscore + 1)};
}

// Whether the project file names the description at `path`.
bool names_file(const std::string& member_path, const std::string& path) {
    return !member_path.empty() && (member_path == path || same_file(member_path, path));
}

// The project file beside LINE, and whether it speaks for LINE and TRAIN.
void read_project_beside(ScenarioLookup& lookup) {
    lookup.project = read_project_file(folder_of(lookup.line_path));
    if (!lookup.project || !lookup.project->faults.empty()) return;
    lookup.project_applies = names_file(lookup.project->line_path(), lookup.line_path) ||
                             names_file(lookup.project->train_path(), lookup.train_path);
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

std::string folder_of(const std::string& path) {
    const auto last = std::find_if(path.rbegin(), path.rend(), is_separator);
    if (last == path.rend()) return {};
    const auto end = last.base() - 1;
    return end == path.begin() ? std::string(1, path.front()) : std::string(path.begin(), end);
}

FileNameNames names_in_file_names(const std::string& line_path, const std::string& train_path) {
    FileNameNames names = train_names(train_path);
    if (const std::optional<std::string> name = line_name(line_path)) names.name = name;
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
        lookup.failure =
            "give both LINE and TRAIN, or neither in a folder whose " + std::string(kProjectFileName) + " names them";
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
