#include "lsp/pairing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "pipeline/description_file_names.h"
#include "pipeline/scenario_names.h"
#include "platform/file_system.h"

namespace scenariogen::lsp {

namespace {

bool paired_by_project(const std::optional<ProjectFile>& project, const std::string& path, Pairing& pairing) {
    if (!project) return false;
    const bool as_line = project->names_line(path);
    if (!as_line && !project->names_train(path)) return false;
    pairing.role = as_line ? SourceFile::kLine : SourceFile::kTrain;
    pairing.line_path = project->line_path();
    pairing.train_path = project->train_path();
    pairing.output = project->output;
    pairing.project = project->path;
    return true;
}

bool paired_by_name(const std::string& path, const FileKnown& known, Pairing& pairing) {
    const std::optional<NamedPartners> partners = partners_by_name(path, known);
    if (!partners) return false;
    pairing.role = partners->is_line ? SourceFile::kLine : SourceFile::kTrain;
    (partners->is_line ? pairing.line_path : pairing.train_path) = path;
    if (!partners->paths.empty())
        (partners->is_line ? pairing.train_path : pairing.line_path) = partners->paths.front();
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
        const std::optional<TrainFileName> named = train_file_name(as_path.filename().string());
        if (named && !named->name.empty()) {
            inputs.push_back(join_path(folder, named->name + std::string(kLineFileSuffix)));
        }
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
    if (!by_project && !paired_by_name(path, known, pairing)) {
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
