#include "lsp/pairing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "pipeline/scenario_names.h"
#include "platform/file_system.h"

namespace scenariogen::lsp {

namespace {

constexpr std::string_view kLineSuffix = "_linea.txt";
constexpr std::string_view kTrainSuffix = "-.txt";

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ends_with_any_case(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char a, char b) { return lower(a) == lower(b); });
}

// The train descriptions NAME_NUMBER-.txt beside a line description, sorted.
std::vector<std::string> train_files(const std::string& folder, std::string_view name) {
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string file = entry.path().filename().string();
        if (file.size() > name.size() + 1 + kTrainSuffix.size() && file.compare(0, name.size(), name) == 0 &&
            file[name.size()] == '_' && ends_with_any_case(file, kTrainSuffix)) {
            found.push_back(file);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

bool paired_by_project(const std::optional<ProjectFile>& project, const std::string& path, Pairing& pairing) {
    if (!project) return false;
    const std::string line = project->line_path(), train = project->train_path();
    const auto names = [&](const std::string& member) {
        return !member.empty() && (member == path || same_file(member, path));
    };
    if (!names(line) && !names(train)) return false;
    pairing.role = names(line) ? SourceFile::kLine : SourceFile::kTrain;
    pairing.line_path = line;
    pairing.train_path = train;
    pairing.output = project->output;
    pairing.project = project->path;
    return true;
}

// NAME and NUMBER of a train description named NAME_NUMBER-.txt.
struct TrainName {
    std::string name;
    std::string number;
};

std::optional<TrainName> train_name(const std::string& file) {
    if (!ends_with_any_case(file, kTrainSuffix)) return std::nullopt;
    const std::string stem = file.substr(0, file.size() - kTrainSuffix.size());
    const std::size_t underscore = stem.rfind('_');
    if (underscore == std::string::npos || underscore == 0) return TrainName{};
    return TrainName{stem.substr(0, underscore), stem.substr(underscore + 1)};
}

std::string line_file_name(const std::string& name) { return name + std::string(kLineSuffix); }

bool paired_by_name(const std::string& folder, const std::string& path, const std::string& file, const FileKnown& known,
                    Pairing& pairing) {
    if (ends_with_any_case(file, kLineSuffix)) {
        pairing.role = SourceFile::kLine;
        pairing.line_path = path;
        pairing.name = file.substr(0, file.size() - kLineSuffix.size());
        const std::vector<std::string> trains = train_files(folder, pairing.name);
        if (!trains.empty()) {
            pairing.train_path = join_path(folder, trains.front());
            const std::string& train = trains.front();
            pairing.number =
                train.substr(pairing.name.size() + 1, train.size() - pairing.name.size() - 1 - kTrainSuffix.size());
        }
        return true;
    }
    const std::optional<TrainName> named = train_name(file);
    if (!named) return false;
    pairing.role = SourceFile::kTrain;
    pairing.train_path = path;
    if (named->name.empty()) return true;
    pairing.name = named->name;
    pairing.number = named->number;
    const std::string line = join_path(folder, line_file_name(pairing.name));
    if (known(line)) pairing.line_path = line;
    return true;
}

}  // namespace

std::vector<std::string> pairing_inputs(const std::string& path, const Pairing& pairing) {
    const std::filesystem::path as_path(path);
    const std::string folder = as_path.parent_path().string();
    std::vector<std::string> inputs{join_path(folder, kProjectFile)};
    for (const std::string* partner : {&pairing.line_path, &pairing.train_path}) {
        if (!partner->empty() && *partner != path) inputs.push_back(*partner);
    }
    if (pairing.role == SourceFile::kTrain && pairing.line_path.empty() && pairing.project.empty()) {
        const std::optional<TrainName> named = train_name(as_path.filename().string());
        if (named && !named->name.empty()) inputs.push_back(join_path(folder, line_file_name(named->name)));
    }
    return inputs;
}

SourceFile role_by_content(std::string_view text) {
    const auto holds = [&](std::string_view part) { return text.find(part) != std::string_view::npos; };
    if (holds("lunghezza") && holds("percorso")) return SourceFile::kLine;
    for (const std::string_view keyword : {"stazione", "segnale", "velocita", "vetture", "orologio"}) {
        if (holds(keyword)) return SourceFile::kTrain;
    }
    return SourceFile::kLine;
}

Pairing pair_file(const std::string& path, std::string_view text, const FileKnown& known) {
    const std::filesystem::path as_path(path);
    const std::string folder = as_path.parent_path().string();
    const std::string file = as_path.filename().string();
    Pairing pairing;
    const std::optional<ProjectFile> project = read_project_file(folder);
    const bool by_project = paired_by_project(project, path, pairing);
    if (!by_project && !paired_by_name(folder, path, file, known, pairing)) {
        pairing.role = role_by_content(text);
        (pairing.role == SourceFile::kLine ? pairing.line_path : pairing.train_path) = path;
    }
    // The names as every command finds them for the same two files.
    const ScenarioNames names = scenario_names(pairing.line_path, pairing.train_path, by_project ? &*project : nullptr,
                                               std::nullopt, std::nullopt);
    pairing.name = names.name;
    pairing.number = names.number;
    return pairing;
}

}  // namespace scenariogen::lsp
