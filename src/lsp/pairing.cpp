#include "lsp/pairing.h"

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <system_error>
#include <vector>

#include "platform/file_system.h"

namespace scenariogen::lsp {

namespace {

// The names `scenariogen compile` gives when none is given.
constexpr std::string_view kDefaultName = "Zervano-OdelmaVmod";
constexpr std::string_view kDefaultNumber = "27340";
constexpr std::string_view kLineSuffix = "_linea.txt";
constexpr std::string_view kTrainSuffix = "-.txt";
constexpr std::size_t kMaxProjectBytes = 1 << 20;

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ends_with_any_case(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char a, char b) { return lower(a) == lower(b); });
}

struct Project {
    std::string line, train, name, number, output;
};

std::string member(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

std::optional<Project> read_project(const std::string& folder) {
    const std::string path = join_path(folder, kProjectFile);
    if (!file_exists(path)) return std::nullopt;
    try {
        const nlohmann::json object = nlohmann::json::parse(read_file(path, kMaxProjectBytes), nullptr, false);
        if (!object.is_object()) return std::nullopt;
        return Project{member(object, "line"), member(object, "train"), member(object, "name"),
                       member(object, "number"), member(object, "output")};
    } catch (const FileError&) {
        return std::nullopt;
    }
}

std::string in_folder(const std::string& folder, const std::string& name) {
    return name.empty() ? std::string() : join_path(folder, name);
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

bool paired_by_project(const std::string& folder, const std::string& file, Pairing& pairing) {
    const std::optional<Project> project = read_project(folder);
    if (!project || (project->line != file && project->train != file)) return false;
    pairing.role = project->line == file ? SourceFile::kLine : SourceFile::kTrain;
    pairing.line_path = in_folder(folder, project->line);
    pairing.train_path = in_folder(folder, project->train);
    pairing.name = project->name.empty() ? std::string(kDefaultName) : project->name;
    pairing.number = project->number.empty() ? std::string(kDefaultNumber) : project->number;
    pairing.output = project->output;
    pairing.project = join_path(folder, kProjectFile);
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
    if (!paired_by_project(folder, file, pairing) && !paired_by_name(folder, path, file, known, pairing)) {
        pairing.role = role_by_content(text);
        (pairing.role == SourceFile::kLine ? pairing.line_path : pairing.train_path) = path;
    }
    if (pairing.name.empty()) pairing.name = kDefaultName;
    if (pairing.number.empty()) pairing.number = kDefaultNumber;
    return pairing;
}

}  // namespace scenariogen::lsp
