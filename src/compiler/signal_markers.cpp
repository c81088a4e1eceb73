// Signals and temporary slowdowns.
#include "compiler/cell_access.h"
#include "compiler/conversions.h"
#include "compiler/markers.h"

namespace scenariogen {

namespace {
void mark_slowdown_cell(Cell& c, CellKind kind, std::int32_t d_v) {
    c.kind = kind;
    if (d_v != 0) c.value_2 = low16(d_v);
}

// The four cells before the warning: error 20 when one is occupied.
std::int32_t place_before_warning(CompilationState& s, std::int32_t first, std::int32_t d_v) {
    for (std::int32_t j = 0; j <= 3; ++j) {
        if (!is_free(cell(s, static_cast<std::int64_t>(first) - j))) return 20;
    }
    for (std::int32_t j = 0; j <= 3; ++j) {
        Cell& c = cell(s, static_cast<std::int64_t>(first) - j);
        c.kind = kBeforeWarning;
        c.value_1 = low16(j + 1);
        if (d_v != 0) c.value_2 = low16(j + 1);
    }
    return 0;
}
}  // namespace

std::int32_t place_signal(CompilationState& s, std::int32_t position, SignalValues& v) {
    const std::int32_t i = object_cell(position);
    Cell& c = cell(s, i);
    if (!is_free(c)) return 16;
    const std::int64_t sides = static_cast<std::int64_t>(v.sx) * 3 + v.dx;
    c.kind = kSignal;
    c.value_4 = low16(static_cast<std::int64_t>(v.rapp) * 10 + sides);
    c.value_1 = low16(static_cast<std::int64_t>(v.s1) * 10 + v.d1);
    c.value_2 = low16(static_cast<std::int64_t>(v.s2) * 10 + v.d2);
    c.value_3 = low16(static_cast<std::int64_t>(v.s3) * 10 + v.d3);
    if (v.tempo >= 1 && v.tempo <= 100) v.tempo = 101;
    c.signal_time = v.sx == 2 ? low8(v.tempo) : 0;
    for (std::int32_t n = 1; n <= 4; ++n) {
        cell(s, static_cast<std::int64_t>(i) - 2 * n).approach_marker = low8(sides * 10 + n);
    }
    return 0;
}

std::int32_t place_slowdown(CompilationState& s, std::int32_t position, const SlowdownValues& v) {
    const SlowdownCells cells = slowdown_cells(position, v.l);
    if (cells.has_warning && !is_free(cell(s, cells.warning))) return 17;
    if (!is_free(cell(s, cells.start))) return 18;
    if (!is_free(cell(s, cells.end))) return 19;
    Cell& end = cell(s, cells.end);
    mark_slowdown_cell(end, kSlowdownEnd, v.d_v);
    Cell& start = cell(s, cells.start);  // over the end when both share a cell
    mark_slowdown_cell(start, kSlowdownStart, v.d_v);
    if (cells.has_warning) {
        Cell& warning = cell(s, cells.warning);
        mark_slowdown_cell(warning, kSlowdownWarning, v.d_v);
        warning.value_1 = low16(v.v);
    }
    for (Cell* c : {&start, &end}) {
        c->value_1 = low16(v.v);
        c->value_3 = low16(v.f_tt);
    }
    // Slowdowns without a warning get no cells before it.
    if (!cells.has_warning || v.f_ta == 0) return 0;
    return place_before_warning(s, cells.before_warning, v.d_v);
}

}  // namespace scenariogen
