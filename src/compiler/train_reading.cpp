// The second reading: the train description. The train's data go to the
// header entries, speed limits and adhesion to every cell, the stations to
// the table with their marker cells, and signals, slowdowns and code-drop
// points to their cells.
#include <algorithm>
#include <array>

#include "compiler/cell_access.h"
#include "compiler/conversions.h"
#include "compiler/description_reading.h"
#include "compiler/keywords.h"
#include "compiler/markers.h"

namespace scenariogen {

namespace {
constexpr std::int64_t kRoomAfterObject = 100;     // metres that must follow a train object
constexpr std::int64_t kRoomAfterStation = 800;    // metres that must follow a station
constexpr std::int32_t kLeastStationGap = 350;     // metres between station areas
constexpr std::int32_t kStationApproachBase = 80;  // approach markers 81 to 84
}  // namespace

void DescriptionReading::train_phase() {
    extent_.train_read = true;
    if (!texts_.train) throw ReadingFailure("the train description cannot be read");
    open(SourceFile::kTrain, *texts_.train);
    for (;;) {
        if (reader_->eof()) return end_train_section();
        read_field();
        if (contains_any_case(field_, "[generale]")) break;
    }
    adhesion_index_ = 0;
    speed_index_ = 0;
    next_station_ = 1;
    for (;;) {
        if (reader_->eof()) return end_train_section();
        if (read_field()) return end_train_section();
        for (int i = 0; i < 2 && contains(field_, "-"); ++i) {
            if (read_field()) return end_train_section();
        }
        switch (train_keywords()) {
            case Step::kNext:
                break;
            case Step::kEndSection:
                return end_train_section();
            case Step::kLeave:
                return;
        }
    }
}

void DescriptionReading::train_header_keywords() {
    auto& table = s_.stations;
    if (contains_any_case(field_, "massa") && contains_any_case(field_, "frenata")) {
        table[kTrainEntry].start = reader_->read_number();
    }
    if (contains_any_case(field_, "vetture")) table[kTrainEntry].position = reader_->read_number();
}

DescriptionReading::Step DescriptionReading::train_keywords() {
    auto& table = s_.stations;
    position_at_.reset();
    train_header_keywords();
    using Handler = Step (DescriptionReading::*)();
    const auto keyword = [&](std::string_view text, Handler handler) {
        position_at_.reset();
        return contains_any_case(field_, text) ? (this->*handler)() : Step::kNext;
    };
    if (const Step step = keyword("velocit", &DescriptionReading::speed_line); step != Step::kNext) return step;
    if (const Step step = keyword("aderenza", &DescriptionReading::adhesion_line); step != Step::kNext) return step;
    if (contains_any_case(field_, "orologio")) {
        table[kSignallingEntry].attribute_9 = reader_->read_int16();
        table[kSignallingEntry].attribute_10 = reader_->read_int16();
        table[kSignallingEntry].attribute_11 = reader_->read_int16();
    }
    if (contains_any_case(field_, "sabbia")) table[kSignallingEntry].attribute_7 = reader_->read_int16();
    for (const auto& [text, handler] : std::array<std::pair<std::string_view, Handler>, 4>{{
             {"segnale", &DescriptionReading::signal_line},
             {"rallentamento", &DescriptionReading::slowdown_line},
             {"abbattimento", &DescriptionReading::code_drop_line},
             {"stazione", &DescriptionReading::station_line},
         }}) {
        if (const Step step = keyword(text, handler); step != Step::kNext) return step;
    }
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::speed_line() {
    const std::int32_t p = read_position();
    const std::int32_t v = reader_->read_number();
    if (too_far(p, kRoomAfterObject)) return out_of_route(p);
    const std::int32_t n = nearest(p / 50.0);
    if (n > 0) {
        do {
            if (speed_index_ >= s_.last_cell()) break;
            cell(s_, speed_index_).speed_limit = byte(pending_speed_ / 5.0);
            ++speed_index_;
        } while (speed_index_ < n);
    }
    pending_speed_ = v;
    place("velocita", p, std::max(n, 0), s_.last_cell());
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::adhesion_line() {
    const std::int32_t p = read_position();
    const std::int32_t a = reader_->read_number();
    if (too_far(p, kRoomAfterObject)) return out_of_route(p);
    const std::int32_t n = nearest(p / 50.0);
    if (n > 0) {
        do {
            // Adhesion lines that do not advance write one cell each; past the last cell they are refused.
            if (adhesion_index_ > s_.last_cell()) return out_of_route(p);
            cell(s_, adhesion_index_).adhesion = low8(pending_adhesion_);
            ++adhesion_index_;
        } while (adhesion_index_ < n);
    }
    pending_adhesion_ = a;
    place("aderenza", p, std::max(n, 0), s_.last_cell());
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::signal_line() {
    const std::int32_t position = read_position();
    SignalValues values;
    for (std::int32_t* value : {&values.sx, &values.s1, &values.s2, &values.s3, &values.rapp, &values.dx, &values.d1,
                                &values.d2, &values.d3, &values.tempo}) {
        *value = reader_->read_number();
    }
    if (too_far(position, kRoomAfterObject)) return out_of_route(position);
    // The farthest advance cell lies 8 cells before the signal's own.
    const std::int32_t own = object_cell(position);
    if (own < kSignalAdvanceCells) return out_of_route(position);
    const std::int32_t error_before = s_.last_error;
    const std::int32_t number = place_signal(s_, position, values);
    if (number == 0) place("segnale", position, own - kSignalAdvanceCells, own);
    return marker_outcome(number, error_before, position);
}

DescriptionReading::Step DescriptionReading::slowdown_line() {
    const std::int32_t position = read_position();
    SlowdownValues values;
    for (std::int32_t* value : {&values.v, &values.l, &values.f_tt, &values.f_ta, &values.d_v}) {
        *value = reader_->read_number();
    }
    if (too_far(position, kRoomAfterObject)) return out_of_route(position);
    const SlowdownCells cells = slowdown_cells(position, values.l);
    if (cells.end < 0 || cells.end > s_.last_cell()) return out_of_route(position);
    const std::int32_t error_before = s_.last_error;
    const std::int32_t number = place_slowdown(s_, position, values);
    if (number == 0) {
        const std::int32_t first = cells.has_warning ? cells.before_warning - 3 : cells.start;
        place("rallentamento", position, std::min(first, cells.start), cells.end);
    }
    return marker_outcome(number, error_before, position);
}

// After a marker procedure: its own fault, or any fault recorded before it,
// ends the reading here.
DescriptionReading::Step DescriptionReading::marker_outcome(std::int32_t number, std::int32_t error_before,
                                                            std::int32_t position) {
    if (number != 0) return leave(number, position);
    if (error_before <= 0) return Step::kNext;
    return leave(error_before, position, "the reading stops at this line because of the earlier fault");
}

DescriptionReading::Step DescriptionReading::code_drop_line() {
    const std::int32_t p = read_position();
    const std::int32_t x = reader_->read_number();
    if (too_far(p, kRoomAfterObject)) return out_of_route(p);
    const std::int32_t i = nearest(p / 50.0);
    Cell& c = cell(s_, i);
    if (!is_free(c)) return leave(7, p);
    if (x > 0) {
        c.kind = kCodeDrop;
        c.value_1 = low16(x);
    } else {
        c.kind = kCodeDropWithoutValue;
    }
    place("abbattimento", p, i, i);
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::station_line() {
    const std::int32_t k = next_station_;
    StationEntry& entry = s_.stations[static_cast<std::size_t>(k)];
    entry.position = read_position();
    const std::int32_t position = entry.position;
    if (too_far(position, kRoomAfterStation)) return out_of_route(position);
    if (position % 50 != 0) return leave(8, position);
    entry.kind = reader_->read_uint8();
    const std::int32_t length = reader_->read_number();
    if (length % 100 != 0) return leave(9, position);
    read_station_values(entry);
    set_station_extent(entry, length);
    if (length < 600) entry.attribute_15 = 0;
    if (k == 1) {
        entry.attribute_14 = 0;
        entry.attribute_15 = 0;
    }
    if (const Step step = mark_station(k, entry); step != Step::kNext) return step;
    if (k > 1 &&
        static_cast<std::int64_t>(entry.start) - kLeastStationGap < s_.stations[static_cast<std::size_t>(k - 1)].end) {
        return leave(22, position);
    }
    ++next_station_;
    if (next_station_ >= sign_slot_) return leave(10);
    return Step::kNext;
}

void DescriptionReading::read_station_values(StationEntry& entry) {
    entry.attribute_5 = reader_->read_uint8();
    entry.attribute_15 = reader_->read_uint8();
    entry.attribute_14 = reader_->read_uint8();
    entry.attribute_7 = reader_->read_int16();
    entry.attribute_8 = reader_->read_int16();
    entry.attribute_12 = reader_->read_uint8();
    entry.attribute_9 = reader_->read_int16();
    entry.attribute_10 = reader_->read_int16();
    entry.attribute_11 = reader_->read_int16();
    entry.dwell = reader_->read_uint8();
    const std::int64_t hours = reader_->read_number();
    const std::int64_t minutes = reader_->read_number();
    const std::int64_t seconds = reader_->read_number();
    entry.time = low32((hours * 60 + minutes) * 60 + seconds);
    const std::string_view name = reader_->read_text();
    if (name.size() > 0xFFFF) {
        throw ReadingFailure("the station name is longer than 65535 characters", reader_->last_field());
    }
    entry.name = std::string(name);
}

// The station area, by the station's kind.
void DescriptionReading::set_station_extent(StationEntry& entry, std::int32_t length) {
    const std::int64_t p = entry.position;
    if (entry.kind == 5 || entry.kind == 6) {
        entry.end = low32(p + 150);
        entry.start = low32(p - length);
        entry.attribute_14 = 0;
    } else if (entry.kind == 7 || entry.kind == 8) {
        entry.start = low32(p - length);
        entry.end = low32(p + length);
        entry.attribute_14 = 0;
    } else {
        entry.start = nearest(static_cast<double>(p) - length / 2.0);
        entry.end = nearest(static_cast<double>(p) + length / 2.0);
        if (entry.attribute_14 != 0) entry.end = low32(static_cast<std::int64_t>(entry.end) + 50);
    }
}

// The approach markers and the end marker of a station below kind 25.
DescriptionReading::Step DescriptionReading::mark_station(std::int32_t k, StationEntry& entry) {
    const bool with_markers = entry.kind < 25;
    const double end_cell = entry.end / 50.0 - 1;
    // The end marker, and with it every approach marker, must lie within the route.
    if (with_markers && end_cell > 1 && nearest(end_cell) > s_.last_cell()) return out_of_route(entry.position);
    if (with_markers && entry.kind != 5 && entry.kind != 6) {
        for (std::int32_t m = 1; m <= 4; ++m) {
            const double x = end_cell - m;
            if (x > 1) cell(s_, nearest(x)).approach_marker = low8(kStationApproachBase + m);
        }
    }
    if (!with_markers) {
        place("stazione", entry.position, 0, -1);
        return Step::kNext;
    }
    if (end_cell <= 1) return leave(24);
    const std::int32_t i = nearest(end_cell);
    Cell& c = cell(s_, i);
    c.kind = kStationEnd;
    c.value_1 = low16(k);
    place("stazione", entry.position, std::max(nearest(end_cell - 4), 0), i);
    return Step::kNext;
}

void DescriptionReading::end_train_section() {
    reader_.reset();
    const std::int32_t u = s_.last_cell();
    do {
        cell(s_, speed_index_).speed_limit = byte(pending_speed_ / 5.0);
        ++speed_index_;
    } while (speed_index_ < u - 2);
    do {
        if (adhesion_index_ > u) break;
        cell(s_, adhesion_index_).adhesion = low8(pending_adhesion_);
        ++adhesion_index_;
    } while (adhesion_index_ < u - 2);
    for (const int index : {kProgressiveThreeEntry, kProgressiveTwoEntry, kProgressiveOneEntry}) {
        const StationEntry& entry = s_.stations[static_cast<std::size_t>(index)];
        if (entry.start % 50 != 0 || entry.end % 50 != 0) {
            record(2, std::nullopt);
            break;
        }
    }
}

}  // namespace scenariogen
