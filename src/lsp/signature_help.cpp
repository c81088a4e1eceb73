// Signature help: on a keyword line, the keyword's values with their units,
// the value under the cursor active.
#include <algorithm>
#include <optional>
#include <string>

#include "lsp/description_view.h"
#include "lsp/features.h"
#include "lsp/keyword_documentation.h"
#include "lsp/markup.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;

// Characters counted as the protocol counts them (the labels hold no
// character beyond the first plane).
int utf16_length(const std::string& utf8) {
    int units = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++units;
    }
    return units;
}

// The value the cursor stands in or is about to write: the last value that
// starts before it, or the next one once a comma follows that value.
std::size_t active_value(std::string_view text, const ViewLine& line, int cursor) {
    std::optional<std::size_t> active;
    for (std::size_t k = 0; k < line.values.size(); ++k) {
        if (line.value(k)->begin <= cursor) active = k;
    }
    if (!active) return 0;  // on the keyword, or before the first value
    const ViewField& value = *line.value(*active);
    if (cursor > value.end && static_cast<std::size_t>(value.end) < text.size()) {
        const std::string_view after =
            text.substr(static_cast<std::size_t>(value.end), static_cast<std::size_t>(cursor - value.end));
        if (after.find(',') != std::string_view::npos) return *active + 1;
    }
    return *active;
}

}  // namespace

json signature_help(const OpenDocument& document, TextPosition at, const ClientCapabilities& client) {
    const DescriptionView view = view_description(document.description, document.pairing.role);
    if (at.line < 0 || at.line >= static_cast<int>(view.lines.size())) return nullptr;
    const ViewLine& line = view.lines[static_cast<std::size_t>(at.line)];
    if (line.kind != LineKind::kKeyword) return nullptr;
    const syntax::KeywordShape& shape = syntax::shape(*line.keyword);
    if (shape.values.empty()) return nullptr;
    const int cursor = document.text.character_column(at.line, at.character);
    const std::size_t active = active_value(description_line(document, at.line), line, cursor);

    std::string label(shape.spelling);
    json parameters = json::array();
    for (const syntax::ValueShape& value : shape.values) {
        label += ", ";
        const int begin = utf16_length(label);
        label += std::string(value.name);
        if (!value.unit.empty()) label += " (" + std::string(value.unit) + ")";
        parameters.push_back({{"label", {begin, utf16_length(label)}},
                              {"documentation", markup_content(value_documentation(value), client.hover_markdown)}});
    }
    json signature{{"label", label},
                   {"documentation", markup_content(std::string(shape.summary), client.hover_markdown)},
                   {"parameters", parameters}};
    return {{"signatures", json::array({signature})},
            {"activeSignature", 0},
            {"activeParameter", std::min(active, shape.values.size() - 1)}};
}

}  // namespace scenariogen::lsp
