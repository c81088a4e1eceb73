// Inlay hints: the km of each positioned line, after its position field.
#include <limits>

#include "lsp/description_outline.h"
#include "lsp/features.h"
#include "lsp/protocol_json.h"

namespace scenariogen::lsp {

nlohmann::json inlay_hints(const OpenDocument& document, int first_line, int last_line) {
    const Outline shape = outline(document.text, document.pairing.role);
    nlohmann::json hints = nlohmann::json::array();
    first_line = std::max(first_line, 0);
    last_line = std::min(last_line, static_cast<int>(shape.lines.size()) - 1);
    for (int index = first_line; index <= last_line; ++index) {
        const OutlineLine& row = shape.lines[static_cast<std::size_t>(index)];
        if (row.kind != LineKind::kKeyword || !row.keyword->positioned) continue;
        const std::string_view line = document.text.line(index);
        const std::vector<FieldSpan> values = value_fields(line, row.first, *row.keyword);
        long long metres = 0;
        if (values.empty() || !field_number(line, values[0], metres)) continue;
        hints.push_back({{"position", position_json(index, values[0].end)},
                         {"label", kilometre_text(metres)},
                         {"paddingLeft", true},
                         {"tooltip", "the route kilometre of this line's position"}});
    }
    return hints;
}

}  // namespace scenariogen::lsp
