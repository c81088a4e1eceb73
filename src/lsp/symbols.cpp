// Document symbols and folding: the sections, and in them the stations,
// signals and slowdowns, the curves, gradients, mountain stretches, speed
// boards and sign boards, each with its km.
#include <algorithm>
#include <cctype>
#include <string>

#include "lsp/description_view.h"
#include "lsp/features.h"
#include "lsp/protocol_json.h"
#include "syntax/number_token.h"
#include "text/windows_1252.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;
using syntax::Keyword;

// The protocol's symbol kinds used here.
constexpr int kNamespace = 3;
constexpr int kFunction = 12;
constexpr int kConstant = 14;
constexpr int kString = 15;
constexpr int kNumber = 16;
constexpr int kObject = 19;
constexpr int kStruct = 23;
constexpr int kMountain = kStruct;
constexpr int kEvent = 24;
constexpr int kOperator = 25;

int symbol_kind(Keyword keyword) {
    switch (keyword) {
        case Keyword::kStation:
            return kObject;
        case Keyword::kSignal:
            return kEvent;
        case Keyword::kSlowdown:
            return kOperator;
        case Keyword::kCurve:
            return kFunction;
        case Keyword::kGradient:
            return kNumber;
        case Keyword::kMountain:
            return kStruct;
        case Keyword::kSpeedBoard:
            return kConstant;
        case Keyword::kSign:
            return kString;
        default:
            return 0;
    }
}

// The symbol of a keyword line that has one; null for the others.
json line_symbol(const DocumentText& text, int index, const ViewLine& line) {
    const int kind = symbol_kind(*line.keyword);
    if (kind == 0) return nullptr;
    const std::string keyword(syntax::shape(*line.keyword).spelling);
    const std::optional<std::int64_t> metres =
        line.value(0) ? syntax::read_number_token(line.value(0)->text).value : std::nullopt;
    const std::string where = metres ? kilometre_text(*metres) : std::string("no position");
    std::string name = keyword + " " + where;
    std::string detail;
    const std::size_t all = syntax::shape(*line.keyword).values.size();
    const bool whole = line.missing == 0 && line.values.size() == all;
    const auto value = [&](std::size_t k) { return from_windows_1252(line.value(k)->text); };
    if ((kind == kObject || kind == kString) && whole) {
        name = from_windows_1252(line.value(all - 1)->text);
        const auto last = name.find_last_not_of(" \t");
        name.erase(last == std::string::npos ? 0 : last + 1);
        detail = keyword + " " + where;
    } else if (kind == kOperator && line.value(1)) {
        detail = value(1) + " km/h";
    } else if (kind == kFunction) {
        const ViewField& field = line.fields[static_cast<std::size_t>(line.keyword_field)];
        name = from_windows_1252(field.text) + " " + where;
        if (line.value(1)) detail = value(1) + " m";
    } else if (kind == kNumber && line.value(1)) {
        detail = value(1) + " \u2030";
    } else if (kind == kMountain && whole) {
        const std::optional<std::int64_t> end = syntax::read_number_token(line.value(1)->text).value;
        detail = (end ? "to " + kilometre_text(*end) + ", " : std::string()) + "kind " + value(2);
    } else if (kind == kConstant && whole) {
        detail = value(1) + " / " + value(2) + " / " + value(3) + " km/h";
    }
    if (name.empty()) name = keyword;
    const ViewField& field = line.fields[static_cast<std::size_t>(line.keyword_field)];
    json symbol{{"name", name},
                {"kind", kind},
                {"range", range_json(index, text.utf16_column(index, field.begin), text.utf16_length(index))},
                {"selectionRange", character_range_json(text, index, field.begin, field.end)}};
    if (!detail.empty()) symbol["detail"] = detail;
    return symbol;
}

}  // namespace

json document_symbols(const OpenDocument& document) {
    const DescriptionView view = view_description(document.description, document.pairing.role);
    const DocumentText& text = document.text;
    json symbols = json::array();
    std::size_t section = 0;
    json* open = nullptr;  // the section whose children are being collected
    for (int index = 0; index < static_cast<int>(view.lines.size()) && index < text.line_count(); ++index) {
        const ViewLine& line = view.lines[static_cast<std::size_t>(index)];
        if (section < view.sections.size() && view.sections[section].header_line == index) {
            const ViewSection& s = view.sections[section++];
            const ViewField& header = line.fields.front();
            const int end = text.utf16_length(s.last_line);
            symbols.push_back({{"name", from_windows_1252(s.name)},
                               {"kind", kNamespace},
                               {"range", range_json({s.header_line, 0}, {s.last_line, end})},
                               {"selectionRange", character_range_json(text, index, header.begin, header.end)},
                               {"children", json::array()}});
            open = &symbols.back();
            continue;
        }
        if (line.kind != LineKind::kKeyword) continue;
        json symbol = line_symbol(text, index, line);
        if (symbol.is_null()) continue;
        (open ? (*open)["children"] : symbols).push_back(std::move(symbol));
    }
    return symbols;
}

namespace {

bool holds_query(const std::string& name, const std::string& query) {
    const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    return std::search(name.begin(), name.end(), query.begin(), query.end(),
                       [&](char a, char b) { return lower(a) == lower(b); }) != name.end();
}

void flatten(const std::string& uri, const json& symbols, const std::string& container, const std::string& query,
             json& out) {
    for (const json& symbol : symbols) {
        const std::string name = symbol["name"].get<std::string>();
        if (holds_query(name, query)) {
            json information{{"name", name},
                             {"kind", symbol["kind"]},
                             {"location", {{"uri", uri}, {"range", symbol["selectionRange"]}}}};
            if (!container.empty()) information["containerName"] = container;
            out.push_back(std::move(information));
        }
        if (symbol.contains("children")) flatten(uri, symbol["children"], name, query, out);
    }
}

}  // namespace

void symbol_information(const OpenDocument& document, const std::string& query, json& out) {
    flatten(document.uri, document_symbols(document), "", query, out);
}

json folding_ranges(const OpenDocument& document) {
    const DescriptionView view = view_description(document.description, document.pairing.role);
    json ranges = json::array();
    for (const ViewSection& s : view.sections) {
        if (s.last_line > s.header_line) {
            ranges.push_back({{"startLine", s.header_line}, {"endLine", s.last_line}, {"kind", "region"}});
        }
    }
    return ranges;
}

}  // namespace scenariogen::lsp
