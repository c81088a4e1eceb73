// The documents the editor holds open, and the compilations they take part
// in. Each line description forms a compilation unit with its partner; the
// unit compiles the open buffers' text, and a partner that is not open from
// its file on disk. A change marks its unit stale; refresh() compiles the
// stale units and hands out the diagnostics to publish.
#pragma once

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compile.h"
#include "lsp/document_text.h"
#include "lsp/pairing.h"
#include "pipeline/pipeline.h"

namespace scenariogen::lsp {

struct OpenDocument {
    std::string uri;
    std::optional<std::string> path;  // none for a buffer that is not a file
    int version = 0;
    DocumentText text;  // the editor's, in UTF-8
    // The text as the description reader reads it, in Windows-1252, a '?'
    // standing for each character that has no Windows-1252 form.
    std::string description;
    bool unmappable = false;  // it holds such a character
    Pairing pairing;

    // Sets `description` and `unmappable` from `text`.
    void describe();
};

// Line `line` (0-based) of a document as the reader reads it.
std::string_view description_line(const OpenDocument& document, int line);

// A file on disk as last read, kept while it does not change.
struct DiskText {
    std::filesystem::file_time_type modified;
    std::uintmax_t size = 0;
    std::string bytes;
};

// A text of a compilation unit: an open document's, or a file's as on disk.
struct UnitText {
    std::string_view bytes;
    const OpenDocument* document = nullptr;  // none: a file on disk
};

struct CompileUnit {
    Pairing pairing;
    std::string line_uri;   // empty: the unit has no line description
    std::string train_uri;  // empty: compiled with an empty train description
    bool stale = true;
    std::optional<CompileResult> result;  // none: nothing compiled
    std::vector<std::string> published;   // URIs that received its diagnostics
    // The diagnostics last published, by URI: what code actions fix.
    std::map<std::string, nlohmann::json> diagnostics;
};

struct Publication {
    std::string uri;
    nlohmann::json diagnostics;
    std::optional<int> version;  // the version of the open document they were found in
};

class Workspace {
public:
    void open(const std::string& uri, int version, std::string_view utf8);
    // Applies the client's content changes. Throws nlohmann::json::exception
    // for malformed changes and std::length_error for a text past the limit.
    void change(const std::string& uri, int version, const nlohmann::json& changes);
    void close(const std::string& uri);
    // A file was saved or changed on disk: pairs may have changed, and the
    // partners read from disk are read again.
    void files_changed();
    // The files on disk whose change changes what the open documents
    // compile with: partners that are not open, project files, and the line
    // descriptions that train descriptions wait for.
    std::vector<std::string> disk_inputs() const;

    const OpenDocument* document(const std::string& uri) const;
    std::vector<std::string> open_uris() const;
    // The unit a document compiles in, compiled if stale; none when it
    // compiles in none.
    const CompileUnit* compiled_unit(const std::string& uri);

    // Compiles every stale unit; what to publish.
    std::vector<Publication> refresh();

    // The other description of a document's unit: the open document, or
    // the file on disk read into a document of its own; none when the
    // document has no partner or it cannot be read.
    struct Partner {
        const OpenDocument* open = nullptr;
        OpenDocument read;  // when not open
        const OpenDocument& document() const { return open ? *open : read; }
    };
    std::optional<Partner> partner(const std::string& uri);
    // The unit of `uri` compiled again with `utf8` in place of that
    // document's text; none when the document compiles in no unit.
    std::optional<PipelineOutcome> compile_edited(const std::string& uri, const std::string& utf8);

private:
    std::string unit_key(const OpenDocument& document) const;
    void rebuild_units();
    void compile_unit(CompileUnit& unit, std::vector<Publication>& out);
    // Compiles a unit's texts into `lists`, the diagnostics of its URIs.
    void compile_texts(CompileUnit& unit, std::map<std::string, nlohmann::json>& lists);
    // The text of `uri`: the open document's, or the file's at `path` as on
    // disk; none, with the reason in `failure`, when it cannot be read.
    std::optional<UnitText> text_of(const std::string& uri, const std::string& path, std::string& failure);
    void mark_stale(const std::string& uri);
    CompileUnit* unit_of(const std::string& uri);
    // The pipeline's input for a unit, with a replacement text for one of
    // its URIs; none, with the reasons in `lists`, when the line
    // description cannot be read.
    std::optional<PipelineInput> unit_input(CompileUnit& unit, std::map<std::string, nlohmann::json>& lists,
                                            const std::string& replaced_uri = {}, std::string_view replacement = {});
    // Publishes the faults of the project files beside the open documents,
    // and clears those of project files that no longer have any.
    void publish_project_files();

    std::map<std::string, OpenDocument> documents_;
    std::map<std::string, CompileUnit> units_;
    std::map<std::string, DiskText> disk_;
    std::vector<Publication> pending_;      // published by refresh() before its own
    std::set<std::string> project_faults_;  // the project files whose faults are shown
};

}  // namespace scenariogen::lsp
