// The second reading: the train description. The train's data go to the
// header entries, speed limits and adhesion to every cell, the stations to
// the table with their marker cells, and signals, slowdowns and code-drop
// points to their cells.
#include <algorithm>
#include <array>

#include "compiler/cell_access.h"
#include "compiler/conversions.h"
#include "compiler/description_reading.h"
#include "compiler/markers.h"

namespace scenariogen {

using syntax::Keyword;

namespace {
constexpr std::int32_t kStationApproachBase = 80;  // approach markers 81 to 84
}  // namespace

void DescriptionReading::train_phase() {
    extent_.train_read = true;
    if (!texts_.train) throw ReadingFailure("the train description cannot be read");
    open(SourceFile::kTrain, *texts_.train);
    adhesion_index_ = 0;
    speed_index_ = 0;
    next_station_ = 1;
    while (next_statement()) {
        switch (serve_keywords(&DescriptionReading::train_keyword)) {
            case Step::kNext:
                break;
            case Step::kEndSection:
                return end_train_section();
            case Step::kLeave:
                return;
        }
    }
    check_text_end();
    end_train_section();
}

DescriptionReading::Step DescriptionReading::train_keyword(Keyword keyword) {
    StationEntry& train = s_.stations[kTrainEntry];
    StationEntry& signalling = s_.stations[kSignallingEntry];
    switch (keyword) {
        case Keyword::kBrakedMass:
            train.start = read_number();
            return Step::kNext;
        case Keyword::kCoaches:
            train.position = read_number();
            return Step::kNext;
        case Keyword::kSpeed:
            return speed_line();
        case Keyword::kAdhesion:
            return adhesion_line();
        case Keyword::kClock:
            clock_line();
            return Step::kNext;
        case Keyword::kSand:
            signalling.attribute_7 = read_int16();
            return Step::kNext;
        case Keyword::kSignal:
            return signal_line();
        case Keyword::kSlowdown:
            return slowdown_line();
        case Keyword::kCodeDrop:
            return code_drop_line();
        case Keyword::kStation:
            return station_line();
        default:
            return Step::kNext;
    }
}

void DescriptionReading::clock_line() {
    StationEntry& signalling = s_.stations[kSignallingEntry];
    signalling.attribute_9 = read_int16();
    signalling.attribute_10 = read_int16();
    signalling.attribute_11 = read_int16();
}

DescriptionReading::Step DescriptionReading::speed_line() {
    const std::int32_t p = read_position();
    const std::int32_t v = read_number();
    if (too_far(p, kRoomAfterObject)) return out_of_route(p);
    const std::int32_t n = boundary_cell(p);
    if (n > 0) {
        do {
            if (speed_index_ >= s_.last_cell()) break;
            cell(s_, speed_index_).speed_limit = pending_speed_fifths();
            ++speed_index_;
        } while (speed_index_ < n);
    }
    pending_speed_ = v;
    pending_speed_at_ = value_at_;
    place(Keyword::kSpeed, p, std::max(n, 0), s_.last_cell());
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::adhesion_line() {
    const std::int32_t p = read_position();
    const std::int32_t a = read_number();
    if (too_far(p, kRoomAfterObject)) return out_of_route(p);
    const std::int32_t n = boundary_cell(p);
    if (n > 0) {
        do {
            // Adhesion lines that do not advance write one cell each; past the last cell they are refused.
            if (adhesion_index_ > s_.last_cell()) return out_of_route(p);
            cell(s_, adhesion_index_).adhesion = low8(pending_adhesion_);
            ++adhesion_index_;
        } while (adhesion_index_ < n);
    }
    pending_adhesion_ = a;
    place(Keyword::kAdhesion, p, std::max(n, 0), s_.last_cell());
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::signal_line() {
    const std::int32_t position = read_position();
    SignalValues values;
    for (std::int32_t* value : {&values.sx, &values.s1, &values.s2, &values.s3, &values.rapp, &values.dx, &values.d1,
                                &values.d2, &values.d3, &values.tempo}) {
        *value = read_number();
    }
    if (too_far(position, kRoomAfterObject)) return out_of_route(position);
    // The farthest advance cell lies 8 cells before the signal's own.
    const std::int32_t own = object_cell(position);
    if (own < kSignalAdvanceCells) return out_of_route(position);
    const std::int32_t error_before = s_.last_error;
    const std::int32_t number = place_signal(s_, position, values);
    if (number == 0) place(Keyword::kSignal, position, own - kSignalAdvanceCells, own);
    return marker_outcome(number, error_before, position);
}

DescriptionReading::Step DescriptionReading::slowdown_line() {
    const std::int32_t position = read_position();
    SlowdownValues values;
    for (std::int32_t* value : {&values.v, &values.l, &values.f_tt, &values.f_ta, &values.d_v}) {
        *value = read_number();
    }
    if (too_far(position, kRoomAfterObject)) return out_of_route(position);
    const SlowdownCells cells = slowdown_cells(position, values.l);
    if (cells.end < 0 || cells.end > s_.last_cell()) return out_of_route(position);
    const std::int32_t error_before = s_.last_error;
    const std::int32_t number = place_slowdown(s_, position, values);
    if (number == 0) {
        const std::int32_t first = cells.has_warning ? cells.before_warning - 3 : cells.start;
        place(Keyword::kSlowdown, position, std::min(first, cells.start), cells.end);
    }
    return marker_outcome(number, error_before, position);
}

// After a marker procedure: its own fault, or any fault recorded before it,
// ends the reading here.
DescriptionReading::Step DescriptionReading::marker_outcome(std::int32_t number, std::int32_t error_before,
                                                            std::int32_t position) {
    if (number != 0) return leave(number, position);
    if (error_before <= 0) return Step::kNext;
    record(error_before, position, "the reading stops at this line because of the earlier fault");
    s_.faults.back().repeats_earlier = true;
    reader_.reset();
    return Step::kLeave;
}

DescriptionReading::Step DescriptionReading::code_drop_line() {
    const std::int32_t p = read_position();
    const std::int32_t x = read_number();
    if (too_far(p, kRoomAfterObject)) return out_of_route(p);
    const std::int32_t i = boundary_cell(p);
    Cell& c = cell(s_, i);
    if (!is_free(c)) return leave(7, p);
    if (x > 0) {
        c.kind = kCodeDrop;
        c.value_1 = low16(x);
    } else {
        c.kind = kCodeDropWithoutValue;
    }
    place(Keyword::kCodeDrop, p, i, i);
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::station_line() {
    const std::int32_t k = next_station_;
    StationEntry& entry = s_.stations[static_cast<std::size_t>(k)];
    entry.position = read_position();
    const std::int32_t position = entry.position;
    if (too_far(position, kRoomAfterStation)) return out_of_route(position);
    if (position % 50 != 0) return leave(8, position);
    entry.kind = read_uint8();
    const std::int32_t length = read_number();
    if (length % 100 != 0) return leave(9, position);
    read_station_values(entry);
    StationSource& source = s_.station_sources.emplace_back();
    for (const int use : serving_->value_uses) {
        source.values.push_back(syntax::range_in(file_, statement_.uses[static_cast<std::size_t>(use)].field.span));
    }
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
    entry.attribute_5 = read_uint8();
    entry.attribute_15 = read_uint8();
    entry.attribute_14 = read_uint8();
    entry.attribute_7 = read_int16();
    entry.attribute_8 = read_int16();
    entry.attribute_12 = read_uint8();
    entry.attribute_9 = read_int16();
    entry.attribute_10 = read_int16();
    entry.attribute_11 = read_int16();
    entry.dwell = read_uint8();
    const std::int64_t hours = read_number();
    const std::int64_t minutes = read_number();
    const std::int64_t seconds = read_number();
    entry.time = low32((hours * 60 + minutes) * 60 + seconds);
    const std::string_view name = read_text();
    if (name.size() > 0xFFFF) throw ReadingFailure("the station name is longer than 65535 characters", value_at_);
    entry.name = std::string(name);
}

// The station area, by the station's kind.
void DescriptionReading::set_station_extent(StationEntry& entry, std::int32_t length) {
    const StationArea area = station_area(entry.position, entry.kind, length, entry.attribute_14 != 0);
    if (is_short_station_type(entry.kind)) {
        entry.start = low32(area.start);
        entry.end = low32(area.end);
        entry.attribute_14 = 0;
        return;
    }
    entry.start = fit32(area.start);
    entry.end = fit32(area.end - (entry.attribute_14 != 0 ? 50 : 0));
    if (entry.attribute_14 != 0) entry.end = low32(static_cast<std::int64_t>(entry.end) + 50);
}

// The approach markers and the end marker of a station below kind 25.
DescriptionReading::Step DescriptionReading::mark_station(std::int32_t k, StationEntry& entry) {
    const bool with_markers = entry.kind < 25;
    const double end_cell = station_end_cell(entry.end);
    // The end marker, and with it every approach marker, must lie within the route.
    if (with_markers && end_cell > 1 && nearest(end_cell) > s_.last_cell()) return out_of_route(entry.position);
    if (with_markers && entry.kind != 5 && entry.kind != 6) {
        for (std::int32_t m = 1; m <= 4; ++m) {
            const double x = end_cell - m;
            if (x > 1) cell(s_, nearest(x)).approach_marker = low8(kStationApproachBase + m);
        }
    }
    if (!with_markers) {
        place(Keyword::kStation, entry.position, 0, -1);
        return Step::kNext;
    }
    if (end_cell <= 1) return leave(24);
    const std::int32_t i = nearest(end_cell);
    Cell& c = cell(s_, i);
    c.kind = kStationEnd;
    c.value_1 = low16(k);
    place(Keyword::kStation, entry.position, std::max(nearest(end_cell - 4), 0), i);
    return Step::kNext;
}

// The pending speed as the cells store it, speed / 5 in one byte; a speed
// that does not fit stops the reading at the line that gave it.
std::uint8_t DescriptionReading::pending_speed_fifths() const {
    const double fifths = pending_speed_ / 5.0;
    if (!(detail::nearest_even(fifths) >= 0 && detail::nearest_even(fifths) <= 255)) {
        throw ReadingFailure("the speed " + std::to_string(pending_speed_) +
                                 " km/h does not fit the cells, which hold speed / 5 in one byte (0 to 1275 km/h)",
                             pending_speed_at_);
    }
    return byte(fifths);
}

void DescriptionReading::end_train_section() {
    const std::int32_t u = s_.last_cell();
    do {
        cell(s_, speed_index_).speed_limit = pending_speed_fifths();
        ++speed_index_;
    } while (speed_index_ < u - 2);
    do {
        if (adhesion_index_ > u) break;
        cell(s_, adhesion_index_).adhesion = low8(pending_adhesion_);
        ++adhesion_index_;
    } while (adhesion_index_ < u - 2);
    reader_.reset();
    check_progressives();
}

// Error 2, at the first value of a progressive line that is not a multiple of 50.
void DescriptionReading::check_progressives() {
    bool fault = false;
    for (const int index : {kProgressiveThreeEntry, kProgressiveTwoEntry, kProgressiveOneEntry}) {
        const StationEntry& entry = s_.stations[static_cast<std::size_t>(index)];
        fault = fault || entry.start % 50 != 0 || entry.end % 50 != 0;
    }
    if (!fault) return;
    Diagnostic error;
    error.number = 2;
    for (const auto& line : progressives_written_) {
        for (const auto& written : line) {
            if (written && written->value % 50 != 0 && !error.where) error.where = written->at;
        }
    }
    s_.record(std::move(error));
}

}  // namespace scenariogen
