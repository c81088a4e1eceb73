// Hover: what a keyword means, and what a positioned line becomes.
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "compiler/placement.h"
#include "lsp/description_view.h"
#include "lsp/features.h"
#include "lsp/keyword_documentation.h"
#include "lsp/protocol_json.h"
#include "syntax/number_token.h"
#include "views/dump/scenario_dump.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;

constexpr int kMaxCellRows = 40;

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
std::int32_t cell_of(syntax::Keyword keyword, std::int32_t metres) {
    using syntax::Keyword;
    const bool boundary = keyword == Keyword::kGradient || keyword == Keyword::kSpeed ||
                          keyword == Keyword::kAdhesion || keyword == Keyword::kCodeDrop;
    return boundary ? boundary_cell(metres) : object_cell(metres);
}

// The cells a placement holds. A gradient, speed or adhesion line holds
// from its cell to the cell before the next line of its keyword.
std::pair<std::int32_t, std::int32_t> stretch_of(const CompileResult& result, const Placement& placement) {
    std::int32_t last = placement.last_cell;
    const bool until_next = placement.keyword == syntax::Keyword::kGradient ||
                            placement.keyword == syntax::Keyword::kSpeed ||
                            placement.keyword == syntax::Keyword::kAdhesion;
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

std::string compiled_text(syntax::Keyword keyword, std::int32_t metres, const CompileResult& result,
                          const Placement* placement) {
    std::string text = "**" + std::string(syntax::shape(keyword).spelling) + "** at " + kilometre_text(metres) + " (" +
                       std::to_string(metres) + " m)\n\n";
    const auto [first, last] =
        placement ? stretch_of(result, *placement) : std::pair{cell_of(keyword, metres), cell_of(keyword, metres)};
    const std::int32_t here = first <= last ? first : cell_of(keyword, metres);
    if (here >= 0 && here < static_cast<std::int32_t>(result.cells.size())) {
        text += in_force(result.cells[static_cast<std::size_t>(here)]);
    } else {
        text += "outside the route's cells\n\n";
    }
    return text + cells_text(result.cells, first, last);
}

// The fault that ended the compilation's reading, when one did: every
// fault but those of the placement rules ends it, and the last one is where
// it ended.
const Diagnostic* reading_stop(const CompileResult& result) {
    const Diagnostic* stop = nullptr;
    for (const Diagnostic& fault : result.faults) {
        if (!fault.cell) stop = &fault;
    }
    return stop;
}

std::string stop_place(const Diagnostic& stop) {
    std::string text = "the compilation stopped";
    if (stop.where && stop.where->line > 0) {
        text += " at line " + std::to_string(stop.where->line) + " of the " +
                (stop.where->file == SourceFile::kLine ? "line" : "train") + " description";
    }
    if (stop.number != 0) text += " (error " + std::to_string(stop.number) + ")";
    return text;
}

// Whether the compilation read line `line` (0-based) of `file` before it
// stopped at `stop`.
bool read_before(const CompileResult& result, const Diagnostic& stop, SourceFile file, int line) {
    if (!stop.where || stop.where->line <= 0) return false;
    if (file == stop.where->file) return line + 1 < stop.where->line;
    return file == SourceFile::kLine || result.train_read;
}

// What a positioned line becomes; when the compilation stopped, what holds
// only up to where it stopped, or that the line was never read.
std::string figures_text(syntax::Keyword keyword, std::int32_t metres, const CompileResult& result, SourceFile file,
                         int line, const Placement* placement) {
    const Diagnostic* stop = reading_stop(result);
    if (stop == nullptr) return compiled_text(keyword, metres, result, placement);
    if (!read_before(result, *stop, file, line)) {
        return "**" + std::string(syntax::shape(keyword).spelling) + "** at " + kilometre_text(metres) + ": " +
               stop_place(*stop) + " before this line, so it has no figures\n\n";
    }
    return compiled_text(keyword, metres, result, placement) +
           "*The figures count only what was read: " + stop_place(*stop) + ".*\n\n";
}

const Placement* placement_of(const CompileResult& result, SourceFile file, int line) {
    for (const Placement& p : result.placements) {
        if (p.file == file && p.line == line + 1) return &p;
    }
    return nullptr;
}

}  // namespace

json hover(const OpenDocument& document, TextPosition at, const CompileUnit* unit) {
    const DescriptionView view = view_description(document.description, document.pairing.role);
    if (at.line < 0 || at.line >= static_cast<int>(view.lines.size())) return nullptr;
    const ViewLine& line = view.lines[static_cast<std::size_t>(at.line)];
    if (line.kind != LineKind::kKeyword) return nullptr;
    const syntax::Keyword keyword = *line.keyword;
    const syntax::KeywordShape& shape = syntax::shape(keyword);
    // What the line becomes, wherever the pointer rests on it.
    std::string text;
    const std::optional<std::int64_t> metres =
        line.value(0) ? syntax::read_number_token(line.value(0)->text).value : std::nullopt;
    const bool positioned = shape.positioned && metres && *metres >= std::numeric_limits<std::int32_t>::min() &&
                            *metres <= std::numeric_limits<std::int32_t>::max();
    if (positioned && unit && unit->result) {
        const auto m = static_cast<std::int32_t>(*metres);
        const SourceFile file = document.pairing.role;
        text = figures_text(keyword, m, *unit->result, file, at.line, placement_of(*unit->result, file, at.line));
    }
    // Then what the field under the pointer means.
    const int cursor = document.text.character_column(at.line, at.character);
    const ViewField& keyword_field = line.fields[static_cast<std::size_t>(line.keyword_field)];
    const ViewField* under = &keyword_field;
    std::size_t index = 0;
    while (index < line.values.size() && line.value(index)->begin <= cursor) ++index;
    if (index == 0) {
        text += (text.empty() ? "" : "---\n\n") + keyword_documentation(keyword);
    } else {
        under = line.value(index - 1);
        text += "value " + value_documentation(shape.values[index - 1]) + "\n\n";
    }
    return {{"contents", {{"kind", "markdown"}, {"value", text}}},
            {"range", character_range_json(document.text, at.line, under->begin, under->end)}};
}

}  // namespace scenariogen::lsp
