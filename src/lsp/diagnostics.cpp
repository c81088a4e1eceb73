#include "lsp/diagnostics.h"

#include <algorithm>

#include "compiler/error_numbers.h"
#include "lsp/protocol_json.h"
#include "lsp/workspace.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;

constexpr int kError = 1;
constexpr int kWarning = 2;
constexpr int kInformation = 3;

int severity_of(Severity severity) {
    switch (severity) {
        case Severity::kError:
            return kError;
        case Severity::kWarning:
            return kWarning;
        case Severity::kNote:
            return kInformation;
    }
    return kError;
}

// The sentence as compile prints it, without the place.
std::string message_of(const Diagnostic& d) {
    std::string message = d.message.empty() ? std::string(error_sentence(d.number)) : d.message;
    if (!d.detail.empty()) message += ": " + d.detail;
    if (d.name.empty()) {
        if (d.cell) message += " (cell " + std::to_string(*d.cell) + ")";
        if (d.position) message += " (at " + std::to_string(*d.position) + " m)";
    } else if (d.number != 0) {
        message += " (error " + std::to_string(d.number) + ")";
    }
    return message;
}

struct Place {
    std::string uri;
    json range;
};

// Columns count characters; an open document's are turned into its UTF-16
// units, a file's on disk stand as they are (a description holds no
// character beyond them).
Place place_of(const Diagnostic& d, const CompiledTexts& texts) {
    if (!d.where) return {texts.line_uri, range_json(0, 0, 0)};
    const bool train = d.where->file == SourceFile::kTrain && !texts.train_uri.empty();
    const std::string& uri = train ? texts.train_uri : texts.line_uri;
    if (d.where->line <= 0) return {uri, range_json(0, 0, 0)};
    const int line = d.where->line - 1;
    const int begin = std::max(d.where->column - 1, 0);
    const int end = std::max(d.where->end_column - 1, begin);
    const OpenDocument* document = train ? texts.train : texts.line;
    if (document == nullptr) return {uri, range_json(line, begin, end)};
    return {uri, character_range_json(document->text, line, begin, end)};
}

}  // namespace

std::map<std::string, json> compile_diagnostics(const Diagnostics& found, const CompiledTexts& texts) {
    std::map<std::string, json> by_uri;
    by_uri[texts.line_uri] = json::array();
    if (!texts.train_uri.empty()) by_uri[texts.train_uri] = json::array();
    json* last = nullptr;  // the diagnostic a note belongs to
    for (const Diagnostic& d : found) {
        const Place place = place_of(d, texts);
        if (d.severity == Severity::kNote && last != nullptr) {
            (*last)["relatedInformation"].push_back(
                {{"location", {{"uri", place.uri}, {"range", place.range}}}, {"message", message_of(d)}});
            continue;
        }
        json diagnostic{{"range", place.range},
                        {"severity", severity_of(d.severity)},
                        {"source", "scenariogen"},
                        {"message", message_of(d)}};
        // The compiler's number where there is one, as compile prints it ("error 8"), else the check's name.
        if (d.number != 0) {
            diagnostic["code"] = d.number;
        } else if (!d.name.empty()) {
            diagnostic["code"] = d.name;
        }
        json data = json::object();
        if (d.number != 0) data["number"] = d.number;
        if (!d.name.empty()) data["name"] = d.name;
        if (d.where && d.where->line == 0) data["wholeFile"] = true;  // a fault of a whole file, not of its first line
        if (!data.empty()) diagnostic["data"] = std::move(data);
        json& list = by_uri[place.uri];
        list.push_back(std::move(diagnostic));
        last = &list.back();
    }
    return by_uri;
}

json partner_diagnostic(const std::string& message) {
    return {{"range", range_json(0, 0, 0)}, {"severity", kError}, {"source", "scenariogen"}, {"message", message}};
}

json not_compiled_diagnostic(const std::string& reason) {
    return {{"range", range_json(0, 0, 0)}, {"severity", kInformation}, {"source", "scenariogen"}, {"message", reason}};
}

}  // namespace scenariogen::lsp
