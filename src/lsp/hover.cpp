// Hover: what a keyword means, and what a positioned line becomes.
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "views/dump/scenario_dump.h"
#include "lsp/description_outline.h"
#include "lsp/features.h"
#include "lsp/protocol_json.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;

constexpr int kMaxCellRows = 40;

std::string field_row(const FieldInfo& field) {
    return "| `" + std::string(field.name) + "` | " + std::string(field.unit) + " | " + std::string(field.meaning) +
           " |\n";
}

std::string keyword_text(const KeywordInfo& keyword) {
    std::string text = "**" + std::string(keyword.keyword) + "**: " + std::string(keyword.summary) + "\n\n";
    text += "| field | unit | meaning |\n|---|---|---|\n";
    for (const FieldInfo& field : keyword.fields) text += field_row(field);
    return text;
}

std::string field_text(const FieldInfo& field) {
    std::string text = "field `" + std::string(field.name) + "`";
    if (!field.unit.empty()) text += " (" + std::string(field.unit) + ")";
    if (!field.meaning.empty()) text += ": " + std::string(field.meaning);
    return text + "\n\n";
}

// What one cell holds, in words: its object and its markers; empty when it
// holds neither.
std::string cell_contents(const Cell& cell) {
    if (cell.kind == kEmpty && cell.approach_marker == 0) return {};
    std::string text(cell_kind_name(cell.kind));
    if (cell.kind == kCodeDrop) text += " (value " + std::to_string(cell.value_1) + ")";
    if (cell.kind == kSign) text += " (text entry " + std::to_string(cell.value_1) + ")";
    if (cell.kind == kStationEnd) text += " (station " + std::to_string(cell.value_1) + ")";
    const auto add = [&](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
    if (cell.approach_marker != 0) add("approach marker " + std::to_string(cell.approach_marker));
    if (cell.mountain_kind != 0) add("mountain kind " + std::to_string(cell.mountain_kind));
    return text;
}

std::string in_force(const Cell& cell) {
    const std::string gradient =
        cell.gradient == 0 ? std::string("none") : std::to_string(static_cast<int>(cell.gradient) - 100) + " \u2030";
    std::string text = "gradient " + gradient + " \u00b7 speed " + std::to_string(cell.speed_limit * 5) +
                       " km/h \u00b7 adhesion " + std::to_string(cell.adhesion);
    if (cell.mountain_kind != 0) text += " \u00b7 mountain kind " + std::to_string(cell.mountain_kind);
    return text + "\n\n";
}

std::string cells_text(const std::vector<Cell>& cells, std::int32_t first, std::int32_t last) {
    if (first > last) return "no cell\n\n";
    std::string text = first == last ? "cell " + std::to_string(first)
                                     : "cells " + std::to_string(first) + " to " + std::to_string(last);
    text += " (" + std::to_string((static_cast<long long>(first) - 1) * 50) + " to " +
            std::to_string(static_cast<long long>(last) * 50) + " m)\n\n";
    std::string rows;
    int shown = 0;
    for (std::int32_t i = std::max(first, 0); i <= last && i < static_cast<std::int32_t>(cells.size()); ++i) {
        const std::string contents = cell_contents(cells[static_cast<std::size_t>(i)]);
        if (contents.empty()) continue;
        if (++shown > kMaxCellRows) {
            rows += "| ... | | more cells not shown |\n";
            break;
        }
        rows += "| " + std::to_string(i) + " | " + std::to_string((static_cast<long long>(i) - 1) * 50) + " m | " +
                contents + " |\n";
    }
    if (!rows.empty()) text += "| cell | from | holds after the placement rules |\n|---|---|---|\n" + rows + "\n";
    return text;
}

// The cell a line at `metres` takes by its keyword's rule, when no
// placement names it.
std::int32_t object_cell(const KeywordInfo& keyword, long long metres) {
    const bool from_position = keyword.keyword == "pendenza" || keyword.keyword == "velocita" ||
                               keyword.keyword == "aderenza" || keyword.keyword == "abbattimento";
    return static_cast<std::int32_t>(std::nearbyint(static_cast<double>(metres) / 50.0 + (from_position ? 0 : 1)));
}

// The cells a placement holds. A gradient, speed or adhesion line holds
// from its cell to the cell before the next line of its keyword.
std::pair<std::int32_t, std::int32_t> stretch_of(const CompileResult& result, const Placement& placement) {
    std::int32_t last = placement.last_cell;
    const bool until_next = placement.keyword == syntax::Keyword::kGradient ||
                            placement.keyword == syntax::Keyword::kSpeed || placement.keyword == syntax::Keyword::kAdhesion;
    if (until_next) {
        for (auto next = result.placements.begin() + (&placement - result.placements.data()) + 1;
             next != result.placements.end(); ++next) {
            if (next->keyword == placement.keyword && next->file == placement.file) {
                last = std::max(placement.first_cell, std::min(last, next->first_cell - 1));
                break;
            }
        }
    }
    return {placement.first_cell, last};
}

std::string compiled_text(const KeywordInfo& keyword, long long metres, const CompileResult& result,
                          const Placement* placement) {
    std::string text = "**" + std::string(keyword.keyword) + "** at " + kilometre_text(metres) + " (" +
                       std::to_string(metres) + " m)\n\n";
    const auto [first, last] = placement ? stretch_of(result, *placement)
                                         : std::pair{object_cell(keyword, metres), object_cell(keyword, metres)};
    const std::int32_t here = first <= last ? first : object_cell(keyword, metres);
    if (here >= 0 && here < static_cast<std::int32_t>(result.cells.size())) {
        text += in_force(result.cells[static_cast<std::size_t>(here)]);
    } else {
        text += "outside the route's cells\n\n";
    }
    return text + cells_text(result.cells, first, last);
}

const Placement* placement_of(const CompileResult& result, DescriptionRole role, int line) {
    const SourceFile file = role == DescriptionRole::kLine ? SourceFile::kLine : SourceFile::kTrain;
    for (const Placement& p : result.placements) {
        if (p.file == file && p.line == line + 1) return &p;
    }
    return nullptr;
}

}  // namespace

json hover(const OpenDocument& document, TextPosition at, const CompileUnit* unit) {
    const Outline shape = outline(document.text, document.pairing.role);
    if (at.line < 0 || at.line >= static_cast<int>(shape.lines.size())) return nullptr;
    const OutlineLine& row = shape.lines[static_cast<std::size_t>(at.line)];
    if (row.kind != LineKind::kKeyword) return nullptr;
    const std::string_view line = document.text.line(at.line);
    const KeywordInfo& keyword = *row.keyword;
    const std::vector<FieldSpan> values = value_fields(line, row.first, keyword);
    // What the line becomes, wherever the pointer rests on it.
    std::string text;
    long long metres = 0;
    const bool positioned = keyword.positioned && !values.empty() && field_number(line, values[0], metres) &&
                            metres >= std::numeric_limits<std::int32_t>::min() &&
                            metres <= std::numeric_limits<std::int32_t>::max();
    if (positioned && unit && unit->result) {
        text =
            compiled_text(keyword, metres, *unit->result, placement_of(*unit->result, document.pairing.role, at.line));
    }
    // Then what the field under the pointer means.
    FieldSpan under = row.first;
    if (at.character < row.first.closed_at || values.empty()) {
        text += (text.empty() ? "" : "---\n\n") + keyword_text(keyword);
    } else {
        std::size_t index = 0;
        while (index + 1 < values.size() && at.character > values[index].closed_at) ++index;
        text += field_text(keyword.fields[index]);
        under = values[index];
    }
    return {{"contents", {{"kind", "markdown"}, {"value", text}}},
            {"range", range_json(at.line, under.begin, under.end)}};
}

}  // namespace scenariogen::lsp
