// Document symbols and folding: the sections, and in them the stations,
// signals and slowdowns.
#include <string>

#include "text/windows_1252.h"
#include "lsp/description_outline.h"
#include "lsp/features.h"
#include "lsp/protocol_json.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;

// The protocol's symbol kinds used here.
constexpr int kNamespace = 3;
constexpr int kObject = 19;
constexpr int kEvent = 24;
constexpr int kOperator = 25;

std::string value_text(std::string_view line, const FieldSpan& field) {
    return std::string(
        line.substr(static_cast<std::size_t>(field.begin), static_cast<std::size_t>(field.end - field.begin)));
}

// The symbol of a keyword line that has one; null for the others.
json line_symbol(std::string_view line, int index, const OutlineLine& row) {
    const std::string_view keyword = row.keyword->keyword;
    int kind = 0;
    if (keyword == "stazione") kind = kObject;
    if (keyword == "segnale") kind = kEvent;
    if (keyword == "rallentamento") kind = kOperator;
    if (kind == 0) return nullptr;
    const std::vector<FieldSpan> values = value_fields(line, row.first, *row.keyword);
    long long metres = 0;
    const std::string where =
        !values.empty() && field_number(line, values[0], metres) ? kilometre_text(metres) : std::string("no position");
    std::string name = std::string(keyword) + " " + where;
    std::string detail;
    if (kind == kObject && values.size() >= row.keyword->fields.size()) {
        name = from_windows_1252(value_text(line, values.back()));
        detail = "stazione " + where;
    } else if (kind == kOperator && values.size() >= 2) {
        detail = value_text(line, values[1]) + " km/h";
    }
    if (name.empty()) name = std::string(keyword);
    json symbol{{"name", name},
                {"kind", kind},
                {"range", range_json(index, row.first.begin, static_cast<int>(line.size()))},
                {"selectionRange", range_json(index, row.first.begin, row.first.end)}};
    if (!detail.empty()) symbol["detail"] = detail;
    return symbol;
}

}  // namespace

json document_symbols(const OpenDocument& document) {
    const Outline shape = outline(document.text, document.pairing.role);
    json symbols = json::array();
    std::size_t section = 0;
    json* open = nullptr;  // the section whose children are being collected
    for (int index = 0; index < static_cast<int>(shape.lines.size()); ++index) {
        const OutlineLine& row = shape.lines[static_cast<std::size_t>(index)];
        if (row.kind == LineKind::kHeader && section < shape.sections.size() &&
            shape.sections[section].header_line == index) {
            const Section& s = shape.sections[section++];
            const int end = static_cast<int>(document.text.line(s.last_line).size());
            symbols.push_back({{"name", s.name},
                               {"kind", kNamespace},
                               {"range", range_json({s.header_line, 0}, {s.last_line, end})},
                               {"selectionRange", range_json(index, row.first.begin, row.first.end)},
                               {"children", json::array()}});
            open = &symbols.back();
            continue;
        }
        if (row.kind != LineKind::kKeyword) continue;
        json symbol = line_symbol(document.text.line(index), index, row);
        if (symbol.is_null()) continue;
        (open ? (*open)["children"] : symbols).push_back(std::move(symbol));
    }
    return symbols;
}

json folding_ranges(const OpenDocument& document) {
    const Outline shape = outline(document.text, document.pairing.role);
    json ranges = json::array();
    for (const Section& s : shape.sections) {
        if (s.last_line > s.header_line) {
            ranges.push_back({{"startLine", s.header_line}, {"endLine", s.last_line}, {"kind", "region"}});
        }
    }
    return ranges;
}

}  // namespace scenariogen::lsp
