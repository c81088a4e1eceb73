// The first reading: the line description. Its general section sets the
// route length, the progressives, the backgrounds and the signal repetition;
// its line section marks gradients, curves, mountain stretches,
// speed-indicator boards and sign boards.
#include <algorithm>
#include <array>

#include "compiler/cell_access.h"
#include "compiler/conversions.h"
#include "compiler/description_reading.h"
#include "compiler/keywords.h"
#include "compiler/markers.h"
#include "compiler/plan_geometry.h"
#include "format/binary_format.h"

namespace scenariogen {

namespace {
constexpr int kGeneralDashSkips = 10;           // dash fields skipped in a row in the general section
constexpr std::int64_t kRoomAfterObject = 100;  // metres that must follow a line object

bool starts_with_dash(std::string_view field) {
    const auto first = field.find_first_not_of(' ');
    return first != std::string_view::npos && field[first] == '-';
}

bool is_section_end(std::string_view field) {
    return contains(field, "[") && contains(field, "]") && !starts_with_dash(field);
}

// The curvature of a curve keyword: the first of the class digits it holds.
double curvature_of(std::string_view field) {
    static constexpr std::array<std::pair<char, double>, 6> kClasses{
        {{'1', 0.0001}, {'2', 0.0002}, {'3', 0.0004}, {'4', 0.001}, {'5', 0.002}, {'6', 0.003}}};
    for (const auto& [digit, curvature] : kClasses) {
        if (field.find(digit) != std::string_view::npos) return curvature;
    }
    return 0;
}
}  // namespace

DescriptionReading::Phase DescriptionReading::line_phase() {
    open(SourceFile::kLine, texts_.line);
    if (!find_general_section()) return Phase::kLeave;
    if (general_section() == Phase::kLeave) return Phase::kLeave;
    if (!s_.has_cells()) {
        throw ReadingFailure("the general section ends without a \"lunghezza percorso\" line", field_at_);
    }
    start_line_section();
    if (line_section() == Phase::kLeave) return Phase::kLeave;
    end_line_section();
    return Phase::kGoesOn;
}

bool DescriptionReading::find_general_section() {
    for (;;) {
        if (read_field()) {
            leave(102);
            return false;
        }
        if (contains_any_case(field_, "[generale]")) return true;
    }
}

DescriptionReading::Phase DescriptionReading::general_section() {
    for (;;) {
        if (reader_->eof()) return Phase::kGoesOn;
        if (read_field()) return Phase::kGoesOn;
        for (int i = 0; i < kGeneralDashSkips && contains(field_, "-"); ++i) read_field();
        if (general_keywords() == Step::kLeave) return Phase::kLeave;
        if (is_section_end(field_)) return Phase::kGoesOn;
    }
}

DescriptionReading::Step DescriptionReading::general_keywords() {
    auto& table = s_.stations;
    if (contains_any_case(field_, "percorso") && contains_any_case(field_, "lunghezza")) {
        if (route_length() == Step::kLeave) return Step::kLeave;
    }
    const auto triple = [&](StationEntry& entry) {
        entry.start = reader_->read_number();
        entry.end = reader_->read_number();
        entry.position = reader_->read_number();
    };
    if (contains(field_, "tre") && contains(field_, "progressiva")) triple(table[kProgressiveThreeEntry]);
    if (contains(field_, "due") && contains(field_, "progressiva")) triple(table[kProgressiveTwoEntry]);
    if (contains(field_, "uno") && contains(field_, "progressiva")) triple(table[kProgressiveOneEntry]);
    if (contains(field_, "sfondo") && contains(field_, "uno")) table[kScenarioEntry].start = reader_->read_number();
    if (contains(field_, "sfondo") && contains(field_, "due")) table[kScenarioEntry].position = reader_->read_number();
    if (contains(field_, "sfondo") && contains(field_, "tre")) table[kScenarioEntry].end = reader_->read_number();
    if (contains(field_, "segnali") && contains(field_, "ripetizione")) return signal_repetition();
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::route_length() {
    const std::int32_t length = reader_->read_number();
    s_.stations[kTrainEntry].end = length;
    if (length > kMaxRouteLength || length < 0) return leave(1);
    const std::int32_t g = length + format::kRunOut;
    s_.cells.assign(static_cast<std::size_t>(nearest(g / 50.0)) + 1, Cell{});
    if (s_.build_grid && s_.grid_coordinates) s_.grid.set_size(g);
    if (s_.build_grid && !s_.grid_coordinates) s_.grid = Grid{g, 0, {}, {}};
    s_.plan_stretches.clear();
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::signal_repetition() {
    StationEntry& entry = s_.stations[kSignallingEntry];
    entry.start = reader_->read_number();
    entry.end = reader_->read_number();
    if (entry.start % 50 != 0) return leave(3);
    if (entry.end % 50 != 0) return leave(4);
    if (contains(field_, "4")) {
        entry.position = 4;
    } else if (contains(field_, "9")) {
        entry.position = 9;
    } else {
        return leave(5);
    }
    if (entry.end == 0) entry.position = 0;
    return Step::kNext;
}

void DescriptionReading::start_line_section() {
    order_progressives(s_);
    s_.mountain_count = 0;
    sign_slot_ = kFirstSignEntry;
    gradient_fill_index_ = 0;
    if (s_.build_grid) start_track(s_.grid, s_.plan_stretches);
}

DescriptionReading::Phase DescriptionReading::line_section() {
    for (;;) {
        if (reader_->eof()) return Phase::kGoesOn;
        if (read_field()) return Phase::kGoesOn;
        for (int i = 0; i < 2 && contains(field_, "-"); ++i) {
            if (read_field()) return Phase::kGoesOn;
        }
        switch (line_keywords()) {
            case Step::kNext:
                break;
            case Step::kEndSection:
                return Phase::kGoesOn;  // error 15: the normal end follows
            case Step::kLeave:
                return Phase::kLeave;
        }
    }
}

DescriptionReading::Step DescriptionReading::line_keywords() {
    using Handler = Step (DescriptionReading::*)();
    for (Handler handler : std::array<Handler, 5>{
             &DescriptionReading::gradient_line, &DescriptionReading::curve_line, &DescriptionReading::mountain_line,
             &DescriptionReading::speed_board_line, &DescriptionReading::sign_line}) {
        position_at_.reset();
        const Step step = (this->*handler)();
        if (step != Step::kNext) return step;
    }
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::gradient_line() {
    if (!contains_any_case(field_, "pendenza")) return Step::kNext;
    const std::int32_t p = read_position();
    const std::int32_t g = reader_->read_number();
    if (too_far(p, kRoomAfterObject)) return out_of_route(p);
    const std::int32_t e = nearest(p / 50.0);
    if (e > 0) {
        do {
            // Gradient lines out of order write one cell each; past the last cell they are refused.
            if (gradient_fill_index_ > s_.last_cell()) return out_of_route(p);
            cell(s_, gradient_fill_index_).gradient = low8(static_cast<std::int64_t>(gradient_in_force_) + 100);
            ++gradient_fill_index_;
        } while (gradient_fill_index_ < e);
    }
    gradient_in_force_ = g;
    place("pendenza", p, std::max(e, 0), s_.last_cell());
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::curve_line() {
    if (!s_.build_grid || !contains_any_case(field_, "curva")) return Step::kNext;
    const std::int32_t start = read_position();
    const std::int32_t length = reader_->read_number();
    if (too_far(start, kRoomAfterObject)) return out_of_route(start);
    double k = curvature_of(field_);
    if (k == 0) return leave(103);
    if (contains_any_case(field_, "s")) k = -k;
    // Every metre the curve reaches must lie within the grid.
    const std::int64_t end = static_cast<std::int64_t>(start) + length;
    if (std::max<std::int64_t>(start, end) > s_.grid.last_metre) return out_of_route(start);
    if (!curve(s_.grid, s_.plan_stretches, start, length, k)) return leave(103);
    place("curva", start, object_cell(start), nearest(static_cast<double>(end) / 50 + 1));
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::mountain_line() {
    if (!contains_any_case(field_, "montagna")) return Step::kNext;
    const std::int32_t start = read_position();
    const std::int32_t end = reader_->read_number();
    std::int32_t kind = reader_->read_number();
    if (too_far(start, kRoomAfterObject)) return out_of_route(start);
    if (s_.mountain_count >= kMaxMountainStretches) return leave(10, start);
    const MountainStretchCells cells = mountain_stretch_cells(start, end);
    if (cells.last > s_.last_cell()) return out_of_route(start);
    mark_mountain_stretch(s_, start, end, kind);
    place("montagna", start, cells.first, cells.last);
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::speed_board_line() {
    if (!contains_any_case(field_, "indicatori_v")) return Step::kNext;
    const std::int32_t position = read_position();
    SpeedBoard board;
    for (std::int32_t* value :
         {&board.vas, &board.vbs, &board.vcs, &board.strisces, &board.vad, &board.vbd, &board.vcd, &board.strisced}) {
        *value = reader_->read_number();
    }
    if (too_far(position, kRoomAfterObject)) return out_of_route(position);
    if (const std::int32_t number = place_speed_board(s_, position, board); number != 0) {
        return leave(number, position);
    }
    place("indicatori_vmax", position, object_cell(position), object_cell(position));
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::sign_line() {
    if (!contains_any_case(field_, "indicat") || !contains_any_case(field_, "cartello")) return Step::kNext;
    const std::int32_t p = read_position();
    const std::string_view text = reader_->read_text();
    if (text.size() > 0xFFFF) {
        throw ReadingFailure("the sign text is longer than 65535 characters", reader_->last_field());
    }
    if (too_far(p, kRoomAfterObject)) return out_of_route(p);
    Cell& c = cell(s_, object_cell(p));
    if (!is_free(c)) return leave(6, p);
    // Entry 0 stays empty: the 81st sign has no entry left.
    if (sign_slot_ < 1) return leave(10, p);
    c.kind = kSign;
    c.value_1 = low16(sign_slot_);
    s_.stations[static_cast<std::size_t>(sign_slot_)].name = std::string(text);
    --sign_slot_;
    place("cartello_indicatore", p, object_cell(p), object_cell(p));
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
