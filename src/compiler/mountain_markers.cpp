// Mountain stretches and speed-indicator boards.
#include "compiler/cell_access.h"
#include "compiler/conversions.h"
#include "compiler/markers.h"

namespace scenariogen {

namespace {
constexpr std::int64_t kContinuedStretchGap = 150;  // metres: a closer stretch continues the previous one
constexpr std::int32_t kContinuedStretchKind = 3;
}  // namespace

void mark_mountain_stretch(CompilationState& s, std::int32_t start, std::int32_t end, std::int32_t& kind) {
    bool with_markers = false;
    if (kind > 10) {
        kind -= 10;
        with_markers = true;
    }
    ++s.mountain_count;
    const auto n = static_cast<std::size_t>(s.mountain_count);
    s.mountain_starts.at(n) = start;
    s.mountain_ends.at(n) = end;
    if (n > 1 && static_cast<std::int64_t>(start) - s.mountain_ends[n - 1] <= kContinuedStretchGap) {
        kind = kContinuedStretchKind;
    }
    const MountainStretchCells cells = mountain_stretch_cells(start, end);
    std::int32_t count = 0;
    for (std::int64_t i = cells.first; i <= cells.last; ++i) {
        Cell& c = cell(s, i);
        ++count;
        c.mountain_kind = low8(kind);
        if (with_markers && count % 4 == 0 && c.kind == kEmpty) c.kind = kMountainMarker;
    }
}

std::int32_t place_speed_board(CompilationState& s, std::int32_t position, const SpeedBoard& board) {
    Cell& c = cell(s, object_cell(position));
    if (!is_free(c)) return 21;
    // Left-hand speed × 20 plus right-hand speed / 5, one value per rank.
    const auto speed = [](std::int32_t left, std::int32_t right) {
        return nearest16(static_cast<double>(static_cast<std::int64_t>(left) * 20) + right / 5.0);
    };
    const std::int16_t value_1 = speed(board.vas, board.vad);
    const std::int16_t value_2 = speed(board.vbs, board.vbd);
    const std::int16_t value_3 = speed(board.vcs, board.vcd);
    c.kind = kSpeedBoard;
    c.value_1 = value_1;
    c.value_2 = value_2;
    c.value_3 = value_3;
    c.value_4 = low16(static_cast<std::int64_t>(low16(board.strisces)) * 10 + low16(board.strisced));
    return 0;
}

}  // namespace scenariogen
