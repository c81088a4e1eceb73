// The first reading: the line description. Its general section sets the
// route length, the progressives, the backgrounds and the signal repetition;
// its line section marks gradients, curves, mountain stretches,
// speed-indicator boards and sign boards.
#include <algorithm>
#include <array>

#include "compiler/cell_access.h"
#include "compiler/conversions.h"
#include "compiler/description_reading.h"
#include "compiler/markers.h"
#include "compiler/plan_geometry.h"
#include "format/binary_format.h"

namespace scenariogen {

using syntax::Keyword;

DescriptionReading::Phase DescriptionReading::line_phase() {
    open(SourceFile::kLine, texts_.line);
    bool in_general = true;
    while (next_statement()) {
        if (statement_.section == syntax::Section::kGeneral) {
            if (serve_keywords(&DescriptionReading::general_keyword) == Step::kLeave) return Phase::kLeave;
            continue;
        }
        if (in_general) {
            start_line_section();
            in_general = false;
        }
        const Step step = serve_keywords(&DescriptionReading::line_keyword);
        if (step == Step::kLeave) return Phase::kLeave;
        if (step == Step::kEndSection) {  // error 15: the normal end follows
            end_line_section();
            return Phase::kGoesOn;
        }
    }
    if (reader_->end() == syntax::ReadingEnd::kNoStart) {
        reader_.reset();
        record(102, std::nullopt);  // a fault of the text as a whole
        return Phase::kLeave;
    }
    check_text_end();
    if (in_general) start_line_section();
    end_line_section();
    return Phase::kGoesOn;
}

DescriptionReading::Step DescriptionReading::general_keyword(Keyword keyword) {
    StationEntry& scenario = s_.stations[kScenarioEntry];
    switch (keyword) {
        case Keyword::kLength:
            return route_length();
        case Keyword::kProgressiveThree:
        case Keyword::kProgressiveTwo:
        case Keyword::kProgressiveOne:
            progressive(keyword);
            return Step::kNext;
        case Keyword::kBackgroundOne:
            scenario.start = read_number();
            return Step::kNext;
        case Keyword::kBackgroundTwo:
            scenario.position = read_number();
            return Step::kNext;
        case Keyword::kBackgroundThree:
            scenario.end = read_number();
            return Step::kNext;
        case Keyword::kSignalRepetition:
            return signal_repetition();
        default:
            return Step::kNext;
    }
}

DescriptionReading::Step DescriptionReading::route_length() {
    const std::int32_t length = read_number();
    s_.stations[kTrainEntry].end = length;
    if (length > kMaxRouteLength || length < 0) return leave(1);
    const std::int32_t g = length + format::kRunOut;
    s_.cells.assign(static_cast<std::size_t>(last_cell_of_route(length)) + 1, Cell{});
    if (s_.build_grid && s_.grid_coordinates) s_.grid.set_size(g);
    if (s_.build_grid && !s_.grid_coordinates) s_.grid = Grid{g, 0, {}, {}};
    s_.plan_stretches.clear();
    return Step::kNext;
}

// Progressive three, two or one: entries 81, 82 and 83.
void DescriptionReading::progressive(Keyword keyword) {
    const int which = keyword == Keyword::kProgressiveThree ? 0 : keyword == Keyword::kProgressiveTwo ? 1 : 2;
    StationEntry& entry = s_.stations[static_cast<std::size_t>(kProgressiveThreeEntry + which)];
    entry.start = read_number();
    progressives_written_[static_cast<std::size_t>(which)][0] = ProgressiveWritten{entry.start, *range_of(*value_at_)};
    entry.end = read_number();
    progressives_written_[static_cast<std::size_t>(which)][1] = ProgressiveWritten{entry.end, *range_of(*value_at_)};
    entry.position = read_number();
}

DescriptionReading::Step DescriptionReading::signal_repetition() {
    StationEntry& entry = s_.stations[kSignallingEntry];
    entry.start = read_number();
    entry.end = read_number();
    if (entry.start % 50 != 0) return leave(3);
    if (entry.end % 50 != 0) return leave(4);
    entry.position = syntax::repetition_codes(field_);
    if (entry.position == 0) return leave(5);
    if (entry.end == 0) entry.position = 0;
    return Step::kNext;
}

// Between the sections: the general section must have sized the route.
void DescriptionReading::start_line_section() {
    if (!s_.has_cells()) {
        // A fault of the general section: at its [generale].
        const std::optional<syntax::Span> start = reader_->summary().start;
        throw ReadingFailure("the general section ends without a \"lunghezza percorso\" line",
                             start ? *start : field_at_);
    }
    order_progressives(s_);
    s_.mountain_count = 0;
    sign_slot_ = kFirstSignEntry;
    gradient_fill_index_ = 0;
    if (s_.build_grid) start_track(s_.grid, s_.plan_stretches);
}

DescriptionReading::Step DescriptionReading::line_keyword(Keyword keyword) {
    switch (keyword) {
        case Keyword::kGradient:
            return gradient_line();
        case Keyword::kCurve:
            return curve_line();
        case Keyword::kMountain:
            return mountain_line();
        case Keyword::kSpeedBoard:
            return speed_board_line();
        case Keyword::kSign:
            return sign_line();
        default:
            return Step::kNext;
    }
}

DescriptionReading::Step DescriptionReading::gradient_line() {
    const std::int32_t p = read_position();
    const std::int32_t g = read_number();
    if (too_far(p, kRoomAfterObject)) return out_of_route(p);
    const std::int32_t e = boundary_cell(p);
    if (e > 0) {
        do {
            // Gradient lines out of order write one cell each; past the last cell they are refused.
            if (gradient_fill_index_ > s_.last_cell()) return out_of_route(p);
            cell(s_, gradient_fill_index_).gradient = low8(static_cast<std::int64_t>(gradient_in_force_) + 100);
            ++gradient_fill_index_;
        } while (gradient_fill_index_ < e);
    }
    gradient_in_force_ = g;
    place(Keyword::kGradient, p, std::max(e, 0), s_.last_cell());
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::curve_line() {
    const std::int32_t start = read_position();
    const std::int32_t length = read_number();
    if (too_far(start, kRoomAfterObject)) return out_of_route(start);
    const int curve_class = syntax::curve_class(field_);
    if (curve_class == 0) return leave(103);
    double k = curvature_of_class(curve_class);
    if (syntax::curve_turns_left(field_)) k = -k;
    // Every metre the curve reaches must lie within the grid.
    const std::int64_t end = static_cast<std::int64_t>(start) + length;
    if (std::max<std::int64_t>(start, end) > s_.grid.last_metre) return out_of_route(start);
    if (!curve(s_.grid, s_.plan_stretches, start, length, k)) return leave(103);
    place(Keyword::kCurve, start, object_cell(start), nearest(static_cast<double>(end) / 50 + 1));
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::mountain_line() {
    const std::int32_t start = read_position();
    const std::int32_t end = read_number();
    std::int32_t kind = read_number();
    if (too_far(start, kRoomAfterObject)) return out_of_route(start);
    if (s_.mountain_count >= kMaxMountainStretches) return leave(10, start);
    const MountainStretchCells cells = mountain_stretch_cells(start, end);
    if (cells.last > s_.last_cell()) return out_of_route(start);
    mark_mountain_stretch(s_, start, end, kind);
    place(Keyword::kMountain, start, cells.first, cells.last);
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::speed_board_line() {
    const std::int32_t position = read_position();
    SpeedBoard board;
    for (std::int32_t* value :
         {&board.vas, &board.vbs, &board.vcs, &board.strisces, &board.vad, &board.vbd, &board.vcd, &board.strisced}) {
        *value = read_number();
    }
    if (too_far(position, kRoomAfterObject)) return out_of_route(position);
    if (const std::int32_t number = place_speed_board(s_, position, board); number != 0) {
        return leave(number, position);
    }
    place(Keyword::kSpeedBoard, position, object_cell(position), object_cell(position));
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::sign_line() {
    const std::int32_t p = read_position();
    const std::string_view text = read_text();
    if (text.size() > 0xFFFF) throw ReadingFailure("the sign text is longer than 65535 characters", value_at_);
    if (too_far(p, kRoomAfterObject)) return out_of_route(p);
    Cell& c = cell(s_, object_cell(p));
    if (!is_free(c)) return leave(6, p);
    // Entry 0 stays empty: the 81st sign has no entry left.
    if (sign_slot_ < 1) return leave(10, p);
    c.kind = kSign;
    c.value_1 = low16(sign_slot_);
    s_.stations[static_cast<std::size_t>(sign_slot_)].name = std::string(text);
    --sign_slot_;
    place(Keyword::kSign, p, object_cell(p), object_cell(p));
    return Step::kNext;
}

void DescriptionReading::end_line_section() {
    reader_.reset();
    const std::int32_t u = s_.last_cell();
    do {
        if (gradient_fill_index_ > u) break;
        cell(s_, gradient_fill_index_).gradient = low8(static_cast<std::int64_t>(gradient_in_force_) + 100);
        ++gradient_fill_index_;
    } while (gradient_fill_index_ < u - 2);
    if (s_.build_grid) straight_until(s_.grid, s_.plan_stretches, static_cast<std::int64_t>(s_.grid.last_metre) - 2);
}

}  // namespace scenariogen
