#include "views/lsp/diagnostics.h"

#include <algorithm>

#include "compiler/error_numbers.h"
#include "views/lsp/description_outline.h"
#include "views/lsp/protocol_json.h"

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

std::string message_of(const Diagnostic& d) {
    std::string message = d.message.empty() ? std::string(error_sentence(d.number)) : d.message;
    if (!d.detail.empty()) message += ": " + d.detail;
    if (d.cell) message += " (cell " + std::to_string(*d.cell) + ")";
    if (d.position) message += " (at " + std::to_string(*d.position) + " m)";
    return message;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The range of a reported place: its own extent, or, for a point, the field
// that starts there.
json field_range(const DocumentText* text, const SourceRange& where) {
    const int line = std::max(where.line - 1, 0);
    const int begin = std::max(where.column - 1, 0);
    int end = std::max(where.end_column - 1, begin);
    if (end == begin && text != nullptr) {
        const std::string_view row = text->line(line);
        std::size_t stop = std::min(static_cast<std::size_t>(begin), row.size());
        while (stop < row.size() && row[stop] != ',') ++stop;
        while (stop > static_cast<std::size_t>(begin) && is_blank(row[stop - 1])) --stop;
        end = static_cast<int>(stop);
    }
    return range_json(line, begin, std::max(end, begin));
}

// The range of a whole line, from its first non-blank byte.
json line_range(const DocumentText* text, int line) {
    if (text == nullptr) return range_json(line, 0, 0);
    const std::string_view row = text->line(line);
    std::size_t begin = 0;
    while (begin < row.size() && is_blank(row[begin])) ++begin;
    return range_json(line, static_cast<int>(begin), static_cast<int>(row.size()));
}

// Error 2 is found once the train description is read; its field is the
// first progressive start or reference that is not a multiple of 50.
std::optional<json> progressive_field(const DocumentText* text) {
    if (text == nullptr) return std::nullopt;
    const Outline shape = outline(*text, DescriptionRole::kLine);
    for (int index = 0; index < static_cast<int>(shape.lines.size()); ++index) {
        const OutlineLine& row = shape.lines[static_cast<std::size_t>(index)];
        if (row.kind != LineKind::kKeyword || row.keyword->place != KeywordPlace::kLineGeneral ||
            !row.keyword->keyword.starts_with("progressiva")) {
            continue;
        }
        const std::string_view line = text->line(index);
        const std::vector<FieldSpan> values = value_fields(line, row.first, *row.keyword);
        for (std::size_t i = 0; i < values.size() && i < 2; ++i) {
            long long value = 0;
            if (field_number(line, values[i], value) && value % 50 != 0) {
                return range_json(index, values[i].begin, values[i].end);
            }
        }
    }
    return std::nullopt;
}

// Errors 1250 and 1251: the line that put an object into cell 1.
std::optional<SourceRange> object_in_first_cell(const CompileResult& result) {
    for (const Placement& p : result.placements) {
        const bool object = p.keyword != "pendenza" && p.keyword != "velocita" && p.keyword != "aderenza" &&
                            p.keyword != "curva" && p.keyword != "montagna";
        if (object && p.first_cell <= 1 && 1 <= p.last_cell) return SourceRange{p.file, p.line, 1, 1};
    }
    return std::nullopt;
}

struct Place {
    std::string uri;
    json range;
};

Place place_of(const Diagnostic& d, const CompileResult& result, const CompiledTexts& texts) {
    const auto uri_of = [&](SourceFile file) {
        return file == SourceFile::kTrain && !texts.train_uri.empty() ? texts.train_uri : texts.line_uri;
    };
    const auto text_of = [&](SourceFile file) { return file == SourceFile::kTrain ? texts.train : texts.line; };
    if (d.number == 2) {
        if (std::optional<json> range = progressive_field(texts.line)) return {texts.line_uri, std::move(*range)};
    }
    if (d.number == 1250 || d.number == 1251) {
        if (const std::optional<SourceRange> line = object_in_first_cell(result)) {
            return {uri_of(line->file), line_range(text_of(line->file), std::max(line->line - 1, 0))};
        }
    }
    if (d.where) {
        const SourceFile file = texts.train_uri.empty() ? SourceFile::kLine : d.where->file;
        return {uri_of(file), field_range(text_of(file), *d.where)};
    }
    if (d.cell) {
        if (const std::optional<SourceRange> line = placing_line(result, *d.cell)) {
            return {uri_of(line->file), line_range(text_of(line->file), std::max(line->line - 1, 0))};
        }
    }
    return {texts.line_uri, range_json(0, 0, 0)};
}

}  // namespace

std::map<std::string, json> compile_diagnostics(const Diagnostics& found, const CompileResult& result,
                                                const CompiledTexts& texts) {
    std::map<std::string, json> by_uri;
    by_uri[texts.line_uri] = json::array();
    if (!texts.train_uri.empty()) by_uri[texts.train_uri] = json::array();
    json* last = nullptr;  // the diagnostic a note belongs to
    for (const Diagnostic& d : found) {
        const Place place = place_of(d, result, texts);
        if (d.severity == Severity::kNote && last != nullptr) {
            (*last)["relatedInformation"].push_back(
                {{"location", {{"uri", place.uri}, {"range", place.range}}}, {"message", message_of(d)}});
            continue;
        }
        json diagnostic{{"range", place.range},
                        {"severity", severity_of(d.severity)},
                        {"source", "scenariogen"},
                        {"message", message_of(d)}};
        if (d.number != 0) {
            diagnostic["code"] = d.number;
        } else if (!d.name.empty()) {
            diagnostic["code"] = d.name;
        }
        json& list = by_uri[place.uri];
        list.push_back(std::move(diagnostic));
        last = &list.back();
    }
    return by_uri;
}

json too_large_diagnostic(std::size_t bytes, std::size_t limit) {
    return {{"range", range_json(0, 0, 0)},
            {"severity", kError},
            {"source", "scenariogen"},
            {"code", 25},
            {"message", "the description holds " + std::to_string(bytes) + " bytes, more than the " +
                            std::to_string(limit) + " the compiler reads; it is not compiled"}};
}

json partner_diagnostic(const std::string& message) {
    return {{"range", range_json(0, 0, 0)}, {"severity", kError}, {"source", "scenariogen"}, {"message", message}};
}

json not_compiled_diagnostic(const std::string& reason) {
    return {{"range", range_json(0, 0, 0)}, {"severity", kInformation}, {"source", "scenariogen"}, {"message", reason}};
}

}  // namespace scenariogen::lsp
