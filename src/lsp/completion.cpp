// Completion of the keywords understood where the cursor stands, each with
// its values, and of the section headers.
#include <string>

#include "lsp/description_view.h"
#include "lsp/features.h"
#include "lsp/keyword_documentation.h"
#include "lsp/markup.h"
#include "lsp/protocol_json.h"
#include "syntax/text_lines.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;

constexpr int kKeywordItem = 14;
constexpr int kModuleItem = 9;
constexpr int kSnippetFormat = 2;
constexpr int kPlainFormat = 1;

// Where the reader looks for keywords at a line: the section of the keyword
// lines and headers above it.
syntax::Section section_at(const DescriptionView& view, SourceFile file, int line) {
    if (file == SourceFile::kTrain) return syntax::Section::kTrain;
    int headers = 0;
    for (int i = 0; i < line && i < static_cast<int>(view.lines.size()); ++i) {
        if (view.lines[static_cast<std::size_t>(i)].kind == LineKind::kHeader) ++headers;
    }
    return headers <= 1 ? syntax::Section::kGeneral : syntax::Section::kObjects;
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
    const DocumentText& text = document.text;
    const DescriptionView view = view_description(document.description, document.pairing.role);
    if (at.line < 0 || at.line >= static_cast<int>(view.lines.size()))
        return {{"isIncomplete", false}, {"items", items}};
    const ViewLine& line = view.lines[static_cast<std::size_t>(at.line)];
    const int cursor = text.character_column(at.line, at.character);
    // Keywords start a line: offer them only within its first field.
    if (!line.fields.empty() && line.fields.size() > 1 && cursor > line.fields[1].begin) {
        return {{"isIncomplete", false}, {"items", items}};
    }
    const int begin = line.fields.empty() ? cursor : std::min(line.fields.front().begin, cursor);
    const json edit_range = character_range_json(text, at.line, begin, cursor);
    for (const syntax::Keyword keyword : syntax::keywords_tested(section_at(view, document.pairing.role, at.line))) {
        const syntax::KeywordShape& shape = syntax::shape(keyword);
        json entry = item(std::string(shape.spelling), kKeywordItem, keyword_snippet(keyword, client.snippets),
                          client.snippets ? kSnippetFormat : kPlainFormat, edit_range);
        entry["detail"] = std::string(shape.summary);
        entry["documentation"] = markup_content(keyword_documentation(keyword), client.completion_markdown);
        items.push_back(std::move(entry));
    }
    for (const std::string& header : syntax::section_headers(document.pairing.role)) {
        items.push_back(item(header, kModuleItem, header, kPlainFormat, edit_range));
    }
    return {{"isIncomplete", false}, {"items", items}};
}

}  // namespace scenariogen::lsp
