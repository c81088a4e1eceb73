#include "views/lsp/workspace.h"

#include <set>
#include <stdexcept>

#include "lint/check.h"
#include "platform/file_system.h"
#include "views/lsp/diagnostics.h"
#include "views/lsp/document_uri.h"
#include "views/lsp/message_framing.h"
#include "views/lsp/protocol_json.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;

constexpr std::string_view kUnpaired =
    "not compiled: no line description pairs with this train description. Name the two NAME_linea.txt and "
    "NAME_NUMBER-.txt in one folder, or name both in a scenario.json beside them.";

// The strict check's diagnostics of the two texts. A line description
// without a train description (none, or one that cannot be read) is checked
// alone: what the check says of the missing train description (with its
// notes) is left out.
Diagnostics strict_check(std::string_view line, const DocumentText* train) {
    Diagnostics found = check_descriptions(line, train ? std::string_view(train->bytes()) : std::string_view());
    if (train != nullptr) return found;
    Diagnostics kept;
    bool dropping = false;
    for (Diagnostic& d : found) {
        if (d.severity != Severity::kNote) dropping = d.where && d.where->file == SourceFile::kTrain;
        if (!dropping) kept.push_back(std::move(d));
    }
    return kept;
}

// How a partner came to be named, for a message about it.
std::string named_by(const Pairing& pairing) {
    return pairing.project.empty() ? std::string() : " named in " + std::string(kProjectFile);
}

}  // namespace

void Workspace::open(const std::string& uri, int version, std::string_view utf8) {
    OpenDocument document;
    document.uri = uri;
    document.path = uri_to_path(uri);
    document.version = version;
    document.text = DocumentText(description_bytes(utf8));
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
        const std::size_t removed = range == change.end() ? document.text.bytes().size() : 0;
        if (document.text.bytes().size() - removed + text.size() > kMaxBodyBytes) {
            throw std::length_error("the change would make the document larger than " + std::to_string(kMaxBodyBytes) +
                                    " bytes");
        }
        if (range == change.end()) {
            document.text = DocumentText(description_bytes(text));
        } else {
            document.text.replace(range_from(*range), text);
        }
    }
    document.version = version;
    mark_stale(uri);
    if (!document.path && role_by_content(document.text.bytes()) != document.pairing.role) files_changed();
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
            document.pairing = pair_file(*document.path, document.text.bytes(), known);
        } else {
            document.pairing = Pairing{};
            document.pairing.role = role_by_content(document.text.bytes());
        }
    }
    rebuild_units();
    for (auto& [key, unit] : units_) unit.stale = true;
    // Size and time of change may stay the same through a quick rewrite.
    disk_.clear();
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

std::string Workspace::unit_key(const OpenDocument& document) const {
    const Pairing& pairing = document.pairing;
    if (!pairing.line_path.empty()) return "file\n" + pairing.line_path + "\n" + pairing.train_path;
    if (pairing.role == DescriptionRole::kLine) return "buffer\n" + document.uri;
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
        const std::string line_uri = by_path ? uri_of(document.pairing.line_path)
                                     : document.pairing.role == DescriptionRole::kLine ? uri
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

const DocumentText* Workspace::source(const std::string& uri, const std::string& path, std::string& failure) {
    const auto open = documents_.find(uri);
    if (open != documents_.end()) return &open->second.text;
    try {
        std::error_code error;
        const auto modified = std::filesystem::last_write_time(path, error);
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        if (error) throw FileError(path, error.message());
        const auto cached = disk_.find(path);
        if (cached != disk_.end() && cached->second.modified == modified && cached->second.size == size) {
            return &cached->second.text;
        }
        DiskText& entry = disk_[path];
        entry = DiskText{modified, size, DocumentText(read_file(path, kMaxDescriptionBytes))};
        return &entry.text;
    } catch (const FileError& error) {
        disk_.erase(path);
        failure = path + ": " + error.reason();
        return nullptr;
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
    for (auto& [uri, list] : lists) {
        unit.published.push_back(uri);
        const auto open = documents_.find(uri);
        out.push_back(
            {uri, std::move(list), open == documents_.end() ? std::nullopt : std::optional(open->second.version)});
    }
}

void Workspace::compile_texts(CompileUnit& unit, std::map<std::string, json>& lists) {
    std::string failure;
    const DocumentText* line = source(unit.line_uri, unit.pairing.line_path, failure);
    if (line == nullptr) {
        const std::string& where = unit.train_uri.empty() ? unit.line_uri : unit.train_uri;
        lists[where].push_back(not_compiled_diagnostic(
            "not compiled: the line description" + named_by(unit.pairing) + " cannot be read: " + failure));
        return;
    }
    const DocumentText* train =
        unit.train_uri.empty() ? nullptr : source(unit.train_uri, unit.pairing.train_path, failure);
    for (const auto& [text, uri] : {std::pair{line, unit.line_uri}, std::pair{train, unit.train_uri}}) {
        if (text != nullptr && text->bytes().size() > kMaxDescriptionBytes) {
            lists[uri].push_back(too_large_diagnostic(text->bytes().size(), kMaxDescriptionBytes));
            return;
        }
    }
    // A train description that cannot be read leaves the line description
    // to be checked alone, and is named.
    std::optional<json> partner_fault;
    if (train == nullptr && !unit.train_uri.empty()) {
        partner_fault = partner_diagnostic("the train description" + named_by(unit.pairing) + " cannot be read: " +
                                           failure + ". This file is checked alone, with an empty train description.");
    }
    CompileInput input;
    input.line_text = line->bytes();
    input.train_text = train != nullptr ? std::string_view(train->bytes()) : std::string_view();
    input.scenario_name = unit.pairing.name;
    input.train_number = unit.pairing.number;
    input.grid_coordinates = false;  // the editor needs the faults and the cells, not the plan
    try {
        unit.result = compile(input);
    } catch (const std::exception& slip) {
        // A fault of the compiler itself: the author hears of it, the session goes on.
        lists[unit.line_uri].push_back(not_compiled_diagnostic(std::string("internal error of the compiler: ") +
                                                               slip.what() + "; please report it with the files"));
        return;
    }
    Diagnostics found = strict_check(line->bytes(), train);
    found.insert(found.end(), unit.result->faults.begin(), unit.result->faults.end());
    const std::string train_uri = train == nullptr ? std::string() : unit.train_uri;
    for (auto& [uri, list] :
         compile_diagnostics(found, *unit.result, CompiledTexts{line, train, unit.line_uri, train_uri})) {
        lists[uri] = std::move(list);
    }
    if (partner_fault) lists[unit.line_uri].insert(lists[unit.line_uri].begin(), std::move(*partner_fault));
}

const CompileUnit* Workspace::compiled_unit(const std::string& uri) {
    const auto document = documents_.find(uri);
    if (document == documents_.end()) return nullptr;
    const auto unit = units_.find(unit_key(document->second));
    if (unit == units_.end() || unit->second.line_uri.empty()) return nullptr;
    if (unit->second.stale) compile_unit(unit->second, pending_);
    return &unit->second;
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
