#include "cli/blockage_source.h"

#include <string>

namespace scenariogen {

namespace {

// The last line of a list (gradients or speed limits, in increasing order)
// that takes effect at or before `metres`; a change takes effect at the cell
// boundary, up to 50 m before its position.
const Placement* in_force(const CompileResult& compiled, syntax::Keyword keyword, double metres) {
    const Placement* found = nullptr;
    for (const Placement& p : compiled.placements) {
        if (p.keyword == keyword && p.position <= metres + 50) found = &p;
    }
    return found;
}

// The slowdown whose cells hold `cell`.
const Placement* slowdown_over(const CompileResult& compiled, std::int32_t cell) {
    for (const Placement& p : compiled.placements) {
        if (p.keyword == syntax::Keyword::kSlowdown && p.first_cell <= cell && cell <= p.last_cell) return &p;
    }
    return nullptr;
}

Diagnostic note_at(const Placement& p, std::string message) {
    Diagnostic note;
    note.severity = Severity::kNote;
    note.message = std::move(message);
    note.where = syntax::range_in(p.file, p.keyword_at);
    note.position = p.position;
    return note;
}

}  // namespace

std::optional<Diagnostic> blockage_note(const Blockage& blockage, const CompileResult& compiled) {
    if (blockage.cause != BlockageCause::kNoSpeed) {
        const Placement* gradient = in_force(compiled, syntax::Keyword::kGradient, blockage.position_m);
        if (gradient == nullptr) return std::nullopt;
        return note_at(*gradient, "the gradient of " + std::to_string(blockage.gradient_per_mille) +
                                      " \u2030 that makes the leg impossible, from " +
                                      std::to_string(gradient->position) + " m");
    }
    const auto cell = static_cast<std::int32_t>(blockage.position_m / 50) + 1;
    const bool line_stops = cell >= 0 && static_cast<std::size_t>(cell) < compiled.cells.size() &&
                            compiled.cells[static_cast<std::size_t>(cell)].speed_limit == 0;
    if (!line_stops) {
        if (const Placement* slowdown = slowdown_over(compiled, cell)) {
            return note_at(*slowdown, "the slowdown that halts the train");
        }
    }
    const Placement* limit = in_force(compiled, syntax::Keyword::kSpeed, blockage.position_m);
    if (limit == nullptr) return std::nullopt;
    return note_at(*limit, "the line limit of 0 km/h from " + std::to_string(limit->position) + " m");
}

}  // namespace scenariogen
