#include "lsp/workspace.h"

#include <set>
#include <stdexcept>

#include "compiler/diagnostic_format.h"
#include "lsp/diagnostics.h"
#include "lsp/document_uri.h"
#include "lsp/message_framing.h"
#include "lsp/project_diagnostics.h"
#include "lsp/protocol_json.h"
#include "pipeline/pipeline.h"
#include "pipeline/scenario_names.h"
#include "platform/file_system.h"
#include "text/windows_1252.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;

constexpr std::string_view kUnpaired =
    "not compiled: no line description pairs with this train description. Name the two NAME_linea.txt and "
    "NAME_NUMBER-.txt in one folder, or name both in a scenario.json beside them.";

// How a partner came to be named, for a message about it.
std::string named_by(const Pairing& pairing) {
    return pairing.project.empty() ? std::string() : " named in " + std::string(kProjectFile);
}

}  // namespace

void OpenDocument::describe() {
    const PreparedText prepared = prepare_text(text.utf8(), pairing.role, TextSource::kEditor);
    description = prepared.windows_1252;
    unmappable = prepared.refused;
}

std::string_view description_line(const OpenDocument& document, int line) {
    return text_line(document.description, line + 1);
}

void Workspace::open(const std::string& uri, int version, std::string_view utf8) {
    OpenDocument document;
    document.uri = uri;
    document.path = uri_to_path(uri);
    document.version = version;
    document.text = DocumentText(std::string(utf8));
    documents_[uri] = std::move(document);
    files_changed();
}

void Workspace::change(const std::string& uri, int version, const json& changes) {
    const auto found = documents_.find(uri);
    if (found == documents_.end()) throw std::invalid_argument("the document " + uri + " is not open");
    OpenDocument& document = found->second;
    for (const json& change : changes) {
        const std::string& text = change.at("text").get_ref<const std::string&>();
        const auto range = change.find("range");
        const std::size_t removed = range == change.end() ? document.text.utf8().size() : 0;
        if (document.text.utf8().size() - removed + text.size() > kMaxBodyBytes) {
            throw std::length_error("the change would make the document larger than " + std::to_string(kMaxBodyBytes) +
                                    " bytes");
        }
        if (range == change.end()) {
            document.text = DocumentText(text);
        } else {
            document.text.replace(range_from(*range), text);
        }
    }
    document.version = version;
    mark_stale(uri);
    if (!document.path && role_by_content(document.text.utf8()) != document.pairing.role) {
        files_changed();
    } else {
        document.describe();
    }
}

void Workspace::close(const std::string& uri) {
    mark_stale(uri);
    documents_.erase(uri);
    rebuild_units();
}

void Workspace::files_changed() {
    const FileKnown known = [this](const std::string& path) {
        for (const auto& [uri, document] : documents_) {
            if (document.path == path) return true;
        }
        return file_exists(path);
    };
    for (auto& [uri, document] : documents_) {
        if (document.path) {
            document.pairing = pair_file(*document.path, document.text.utf8(), known);
        } else {
            document.pairing = Pairing{};
            document.pairing.role = role_by_content(document.text.utf8());
        }
        document.describe();
    }
    rebuild_units();
    publish_project_files();
    for (auto& [key, unit] : units_) unit.stale = true;
    // Size and time of change may stay the same through a quick rewrite.
    disk_.clear();
}

void Workspace::publish_project_files() {
    std::set<std::string> folders;
    for (const auto& [uri, document] : documents_) {
        if (document.path) folders.insert(folder_of(*document.path));
    }
    std::set<std::string> faulty;
    for (const std::string& folder : folders) {
        const std::optional<ProjectFile> project = read_project_file(folder);
        if (!project || project->faults.empty()) continue;
        const std::string uri = path_to_uri(project->path);
        pending_.push_back({uri, project_diagnostics(*project), std::nullopt});
        faulty.insert(uri);
    }
    for (const std::string& uri : project_faults_) {
        if (!faulty.count(uri)) pending_.push_back({uri, json::array(), std::nullopt});
    }
    project_faults_ = std::move(faulty);
}

std::vector<std::string> Workspace::disk_inputs() const {
    std::set<std::string> paths;
    for (const auto& [uri, document] : documents_) {
        if (!document.path) continue;
        for (std::string& path : pairing_inputs(*document.path, document.pairing)) paths.insert(std::move(path));
    }
    // An open document is the editor's text, whatever its file holds.
    for (const auto& [uri, document] : documents_) {
        if (document.path) paths.erase(*document.path);
    }
    return {paths.begin(), paths.end()};
}

const OpenDocument* Workspace::document(const std::string& uri) const {
    const auto found = documents_.find(uri);
    return found == documents_.end() ? nullptr : &found->second;
}

std::vector<std::string> Workspace::open_uris() const {
    std::vector<std::string> uris;
    for (const auto& [uri, document] : documents_) uris.push_back(uri);
    return uris;
}

std::string Workspace::unit_key(const OpenDocument& document) const {
    const Pairing& pairing = document.pairing;
    if (!pairing.line_path.empty()) return "file\n" + pairing.line_path + "\n" + pairing.train_path;
    if (pairing.role == SourceFile::kLine) return "buffer\n" + document.uri;
    return "unpaired\n" + document.uri;
}

void Workspace::rebuild_units() {
    const auto uri_of = [this](const std::string& path) {
        if (path.empty()) return std::string();
        for (const auto& [uri, document] : documents_) {
            if (document.path == path) return uri;
        }
        return path_to_uri(path);
    };
    std::map<std::string, CompileUnit> units;
    for (const auto& [uri, document] : documents_) {
        const std::string key = unit_key(document);
        if (units.count(key)) continue;
        CompileUnit unit;
        const auto existing = units_.find(key);
        if (existing != units_.end()) unit = std::move(existing->second);
        unit.pairing = document.pairing;
        const bool by_path = !document.pairing.line_path.empty();
        const std::string line_uri = by_path                                      ? uri_of(document.pairing.line_path)
                                     : document.pairing.role == SourceFile::kLine ? uri
                                                                                  : std::string();
        const std::string train_uri = by_path            ? uri_of(document.pairing.train_path)
                                      : line_uri.empty() ? uri
                                                         : std::string();
        if (line_uri != unit.line_uri || train_uri != unit.train_uri) unit.stale = true;
        unit.line_uri = line_uri;
        unit.train_uri = train_uri;
        units.emplace(key, std::move(unit));
    }
    // What a unit that is gone had published is cleared, unless a unit
    // that stays publishes there again.
    std::set<std::string> kept;
    for (const auto& [key, unit] : units) kept.insert({unit.line_uri, unit.train_uri});
    for (const auto& [key, unit] : units_) {
        if (units.count(key)) continue;
        for (const std::string& uri : unit.published) {
            if (!kept.count(uri)) pending_.push_back({uri, json::array(), std::nullopt});
        }
    }
    units_ = std::move(units);
}

void Workspace::mark_stale(const std::string& uri) {
    for (auto& [key, unit] : units_) {
        if (unit.line_uri == uri || unit.train_uri == uri) unit.stale = true;
    }
}

std::optional<UnitText> Workspace::text_of(const std::string& uri, const std::string& path, std::string& failure) {
    const auto open = documents_.find(uri);
    if (open != documents_.end()) return UnitText{open->second.text.utf8(), &open->second};
    try {
        std::error_code error;
        const auto modified = std::filesystem::last_write_time(path, error);
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        if (error) throw FileError(path, error.message());
        const auto cached = disk_.find(path);
        if (cached != disk_.end() && cached->second.modified == modified && cached->second.size == size) {
            return UnitText{cached->second.bytes, nullptr};
        }
        DiskText& entry = disk_[path];
        entry = DiskText{modified, size, read_file(path, kMaxDescriptionBytes)};
        return UnitText{entry.bytes, nullptr};
    } catch (const FileError& error) {
        disk_.erase(path);
        failure = path + ": " + error.reason();
        return std::nullopt;
    }
}

void Workspace::compile_unit(CompileUnit& unit, std::vector<Publication>& out) {
    unit.stale = false;
    unit.result.reset();
    std::map<std::string, json> lists;
    if (!unit.train_uri.empty()) lists[unit.train_uri] = json::array();
    if (unit.line_uri.empty()) {
        lists[unit.train_uri].push_back(not_compiled_diagnostic(std::string(kUnpaired)));
    } else {
        lists[unit.line_uri] = json::array();
        compile_texts(unit, lists);
    }
    unit.published.clear();
    unit.diagnostics = lists;
    for (auto& [uri, list] : lists) {
        unit.published.push_back(uri);
        const auto open = documents_.find(uri);
        out.push_back(
            {uri, std::move(list), open == documents_.end() ? std::nullopt : std::optional(open->second.version)});
    }
}

std::optional<PipelineInput> Workspace::unit_input(CompileUnit& unit, std::map<std::string, json>& lists,
                                                   const std::string& replaced_uri, std::string_view replacement) {
    std::string failure;
    const std::optional<UnitText> line = text_of(unit.line_uri, unit.pairing.line_path, failure);
    if (!line) {
        const std::string& where = unit.train_uri.empty() ? unit.line_uri : unit.train_uri;
        lists[where].push_back(not_compiled_diagnostic("not compiled: the line description" + named_by(unit.pairing) +
                                                       " cannot be read: " + failure));
        return std::nullopt;
    }
    std::optional<UnitText> train;
    if (!unit.train_uri.empty()) {
        train = text_of(unit.train_uri, unit.pairing.train_path, failure);
        // A partner that cannot be read is named, and the line description is checked alone.
        if (!train) {
            lists[unit.line_uri].push_back(partner_diagnostic("the train description" + named_by(unit.pairing) +
                                                              " cannot be read: " + failure +
                                                              ". This file is checked alone, with an empty train "
                                                              "description."));
        }
    }
    PipelineInput input;
    input.line = unit.line_uri == replaced_uri ? replacement : line->bytes;
    input.line_source = line->document ? TextSource::kEditor : TextSource::kFiles;
    if (train) {
        input.train = unit.train_uri == replaced_uri ? replacement : train->bytes;
        input.train_source = train->document ? TextSource::kEditor : TextSource::kFiles;
    }
    input.scenario_name = unit.pairing.name;
    input.train_number = unit.pairing.number;
    return input;
}

void Workspace::compile_texts(CompileUnit& unit, std::map<std::string, json>& lists) {
    const std::optional<PipelineInput> input = unit_input(unit, lists);
    if (!input) return;
    PipelineOutcome outcome;
    try {
        outcome = run_pipeline(*input);
    } catch (const std::exception& slip) {
        // A fault of the compiler itself: the author hears of it, the session goes on.
        lists[unit.line_uri].push_back(not_compiled_diagnostic(std::string("internal error of the compiler: ") +
                                                               slip.what() + "; please report it with the files"));
        return;
    }
    const auto open = [this](const std::string& uri) {
        const auto found = documents_.find(uri);
        return found == documents_.end() ? nullptr : &found->second;
    };
    const bool train = input->train.has_value();
    const CompiledTexts texts{open(unit.line_uri), train ? open(unit.train_uri) : nullptr, unit.line_uri,
                              train ? unit.train_uri : std::string()};
    for (auto& [uri, list] : compile_diagnostics(outcome.diagnostics, texts)) {
        for (json& d : list) lists[uri].push_back(std::move(d));
    }
    unit.result = std::move(outcome.result);
}

CompileUnit* Workspace::unit_of(const std::string& uri) {
    const auto document = documents_.find(uri);
    if (document == documents_.end()) return nullptr;
    const auto unit = units_.find(unit_key(document->second));
    if (unit == units_.end() || unit->second.line_uri.empty()) return nullptr;
    return &unit->second;
}

std::optional<Workspace::Partner> Workspace::partner(const std::string& uri) {
    CompileUnit* unit = unit_of(uri);
    if (unit == nullptr || unit->train_uri.empty() || unit->line_uri.empty()) return std::nullopt;
    const bool line = unit->line_uri == uri;
    const std::string& partner_uri = line ? unit->train_uri : unit->line_uri;
    std::string failure;
    const std::optional<UnitText> text =
        text_of(partner_uri, line ? unit->pairing.train_path : unit->pairing.line_path, failure);
    if (!text) return std::nullopt;
    Partner found;
    if (text->document) {
        found.open = text->document;
        return found;
    }
    // A file on disk: its text as the reader reads it, shown as an editor would.
    const SourceFile role = line ? SourceFile::kTrain : SourceFile::kLine;
    found.read.uri = partner_uri;
    found.read.path = line ? unit->pairing.train_path : unit->pairing.line_path;
    found.read.pairing = unit->pairing;
    found.read.pairing.role = role;
    found.read.text = DocumentText(from_windows_1252(prepare_text(text->bytes, role, TextSource::kFiles).windows_1252));
    found.read.describe();
    return found;
}

std::optional<PipelineOutcome> Workspace::compile_edited(const std::string& uri, const std::string& utf8) {
    CompileUnit* unit = unit_of(uri);
    if (unit == nullptr) return std::nullopt;
    std::map<std::string, json> ignored;
    const std::optional<PipelineInput> input = unit_input(*unit, ignored, uri, utf8);
    if (!input) return std::nullopt;
    try {
        return run_pipeline(*input);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

const CompileUnit* Workspace::compiled_unit(const std::string& uri) {
    CompileUnit* unit = unit_of(uri);
    if (unit != nullptr && unit->stale) compile_unit(*unit, pending_);
    return unit;
}

std::vector<Publication> Workspace::refresh() {
    std::vector<Publication> out = std::move(pending_);
    pending_.clear();
    for (auto& [key, unit] : units_) {
        if (unit.stale) compile_unit(unit, out);
    }
    return out;
}

}  // namespace scenariogen::lsp
