// Document symbols and folding: the sections, and in them the stations,
// signals and slowdowns.
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
constexpr int kObject = 19;
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
    if (kind == kObject && line.missing == 0 && line.values.size() == all) {
        name = from_windows_1252(line.value(all - 1)->text);
        detail = keyword + " " + where;
    } else if (kind == kOperator && line.value(1)) {
        detail = std::string(line.value(1)->text) + " km/h";
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
