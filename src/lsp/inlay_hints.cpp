// Inlay hints: the km of each positioned line, after its position field.
#include "lsp/description_view.h"
#include "lsp/features.h"
#include "lsp/protocol_json.h"
#include "syntax/number_token.h"

namespace scenariogen::lsp {

nlohmann::json inlay_hints(const OpenDocument& document, int first_line, int last_line) {
    const DescriptionView view = view_description(document.description, document.pairing.role);
    nlohmann::json hints = nlohmann::json::array();
    first_line = std::max(first_line, 0);
    last_line = std::min({last_line, static_cast<int>(view.lines.size()) - 1, document.text.line_count() - 1});
    for (int index = first_line; index <= last_line; ++index) {
        const ViewLine& line = view.lines[static_cast<std::size_t>(index)];
        if (line.kind != LineKind::kKeyword || !syntax::shape(*line.keyword).positioned || !line.value(0)) continue;
        const std::optional<std::int64_t> metres = syntax::read_number_token(line.value(0)->text).value;
        if (!metres) continue;
        hints.push_back({{"position", position_json(index, document.text.utf16_column(index, line.value(0)->end))},
                         {"label", kilometre_text(*metres)},
                         {"paddingLeft", true},
                         {"tooltip", "the route kilometre of this line's position"}});
    }
    return hints;
}

}  // namespace scenariogen::lsp
