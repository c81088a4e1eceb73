// Completion of keywords, each with a snippet of its fields where the client
// expands snippets, and of the section headers.
#include <string>

#include "views/lsp/description_outline.h"
#include "views/lsp/features.h"
#include "views/lsp/markup.h"
#include "views/lsp/protocol_json.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;

constexpr int kKeywordItem = 14;
constexpr int kModuleItem = 9;
constexpr int kSnippetFormat = 2;
constexpr int kPlainFormat = 1;

std::string documentation(const KeywordInfo& keyword) {
    std::string text = std::string(keyword.summary) + "\n\n";
    for (const FieldInfo& field : keyword.fields) {
        text += "- `" + std::string(field.name) + "`";
        if (!field.unit.empty()) text += " (" + std::string(field.unit) + ")";
        if (!field.meaning.empty()) text += ": " + std::string(field.meaning);
        text += "\n";
    }
    return text;
}

// Where keywords are understood on a line: the place of the nearest keyword
// line or header above it.
KeywordPlace place_at(const Outline& shape, DescriptionRole role, int line) {
    if (role == DescriptionRole::kTrain) return KeywordPlace::kTrain;
    int headers = 0;
    for (int i = 0; i < line && i < static_cast<int>(shape.lines.size()); ++i) {
        if (shape.lines[static_cast<std::size_t>(i)].kind == LineKind::kHeader) ++headers;
    }
    return headers <= 1 ? KeywordPlace::kLineGeneral : KeywordPlace::kLineObjects;
}

json item(std::string label, int kind, std::string text, int format, const json& edit_range) {
    return {{"label", label},
            {"kind", kind},
            {"insertTextFormat", format},
            {"textEdit", {{"range", edit_range}, {"newText", std::move(text)}}},
            {"filterText", label}};
}

}  // namespace

json completion(const OpenDocument& document, TextPosition at, const ClientCapabilities& client) {
    json items = json::array();
    const std::string_view line = document.text.line(at.line);
    const int cursor = std::min(std::max(at.character, 0), static_cast<int>(line.size()));
    const std::vector<FieldSpan> fields = comma_fields(line.substr(0, static_cast<std::size_t>(cursor)));
    // Keywords start a line: offer them only within its first field.
    if (fields.size() > 1) return {{"isIncomplete", false}, {"items", items}};
    const int begin = fields.empty() ? cursor : fields.front().begin;
    const json edit_range = range_json(at.line, begin, cursor);
    const Outline shape = outline(document.text, document.pairing.role);
    const KeywordPlace place = place_at(shape, document.pairing.role, at.line);
    for (const KeywordInfo& keyword : keyword_catalogue()) {
        if (keyword.place != place) continue;
        // Without snippets: the keyword and the separator before its first value.
        json entry = client.snippets ? item(std::string(keyword.keyword), kKeywordItem, std::string(keyword.snippet),
                                            kSnippetFormat, edit_range)
                                     : item(std::string(keyword.keyword), kKeywordItem,
                                            std::string(keyword.keyword) + ",  ", kPlainFormat, edit_range);
        entry["detail"] = std::string(keyword.summary);
        entry["documentation"] = markup_content(documentation(keyword), client.completion_markdown);
        items.push_back(std::move(entry));
    }
    for (const std::string_view header : section_headers(document.pairing.role)) {
        items.push_back(item(std::string(header), kModuleItem, std::string(header), kPlainFormat, edit_range));
    }
    return {{"isIncomplete", false}, {"items", items}};
}

}  // namespace scenariogen::lsp
