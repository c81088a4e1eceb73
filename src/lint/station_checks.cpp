// The stations of the train description: their place, their area, the
// values the compiler forces, their markers and the timetable.
#include "compiler/conversions.h"
#include "compiler/placement.h"
#include "lint/object_checks.h"
#include "lint/station_values.h"
#include "lint/syntax_names.h"

namespace scenariogen::lint {

void ObjectChecks::station(const KeywordLine& l) {
    const std::size_t k = static_cast<std::size_t>(stations_) + 1;
    const std::int64_t p = l.number(station_value::kPosition);
    const std::int64_t type = l.number(station_value::kType);
    const std::int64_t length = l.number(station_value::kLength);
    if (l.values[station_value::kName].text.find_first_not_of(" \t") == std::string_view::npos) {
        r_.error(l.file, l.values[station_value::kName].span, "missing-name", "the station has no name");
    }
    if (p % 50 != 0) {
        r_.error(l.file, l.values[station_value::kPosition].span, "not-multiple",
                 "the station's position " + metres(p) + " is not a multiple of 50");
        r_.cite(8);
        r_.at_position(p);
        return;
    }
    if (!position(l, station_value::kPosition, 800, "station", Placing::kMetre)) return;
    if (length % 100 != 0) {
        r_.error(l.file, l.values[station_value::kLength].span, "not-multiple",
                 "the station's length " + metres(length) + " is not a multiple of 100");
        r_.cite(9);
    }
    const std::optional<StationSeen>& previous = previous_station_;
    if (previous && p <= previous->line.number(station_value::kPosition)) {
        r_.error(l.file, l.values[station_value::kPosition].span, "out-of-order",
                 "the station at " + metres(p) + " does not come after the previous one, at " +
                     metres(previous->line.number(station_value::kPosition)) +
                     ": stations go in increasing order of position");
        note(previous->line, "the previous station");
    }
    station_attributes(l, k == 1);
    const bool short_type = type >= 5 && type <= 8;
    const StationArea area = station_area(as32(p), static_cast<std::uint8_t>(type), as32(length),
                                          l.number(station_value::kAttribute14) != 0 && !short_type);
    if (type < 25) station_markers(l, area.end, type);
    if (previous && area.start - 350 < previous->end) {
        r_.error(l.file, l.values[station_value::kPosition].span, "station-spacing",
                 "the station's area starts at " + metres(area.start) +
                     ", less than 350 m after the previous "
                     "station's area ends, at " +
                     metres(previous->end));
        r_.cite(22);
        r_.at_position(p);
        note(previous->line, "the previous station");
    }
    // The compiler stops after the first station that leaves no entry for the next.
    const int slot = 80 - signs_;
    const int next = static_cast<int>(k) + 1;
    if (next >= slot && (k == 1 || next - 1 < slot)) {
        r_.error(l.file, l.keyword_span, "table-full",
                 "stations and sign texts together number at most 78, and this station is one more");
        r_.cite(10);
    }
    const std::int64_t time = (l.number(station_value::kHours) * 60 + l.number(station_value::kHours + 1)) * 60 +
                              l.number(station_value::kHours + 2);
    if (previous && time < previous->time) {
        r_.warning(l.file, l.values[station_value::kHours].span, "timetable-order",
                   "the station's time " + clock_time(time) + " comes before the previous station's, " +
                       clock_time(previous->time) +
                       ": a station's time is its departure (the terminus's, its arrival)");
        note(previous->line, "the previous station");
    }
    ++stations_;
    previous_station_ = StationSeen{l, area.end, time};
}

// Attributes 14 and 15, which the compiler clears for some stations.
void ObjectChecks::station_attributes(const KeywordLine& l, bool first_station) {
    const std::int64_t type = l.number(station_value::kType);
    if ((l.number(station_value::kLength) < 600 || first_station) && l.number(station_value::kAttribute15) != 0) {
        r_.error(l.file, l.values[station_value::kAttribute15].span, "ignored-value",
                 std::string("the compiler stores attribute 15 as 0 ") +
                     (first_station ? "at the first station" : "for a station shorter than 600 m"));
    }
    if ((type >= 5 && type <= 8) || first_station) {
        if (l.number(station_value::kAttribute14) == 0) return;
        r_.error(l.file, l.values[station_value::kAttribute14].span, "ignored-value",
                 first_station ? "the compiler stores attribute 14 as 0 at the first station (it still lengthens the "
                                 "station's area by 50 m)"
                               : "the compiler stores attribute 14 as 0 for a station of type 5 to 8");
    }
}

// The end marker in the cell before the area's end, and for most types the
// four approach markers before it. Neither looks whether the cell is taken.
void ObjectChecks::station_markers(const KeywordLine& l, std::int64_t end, std::int64_t type) {
    const double x = station_end_cell(end);
    if (x <= 1) {
        r_.error(l.file, l.values[station_value::kPosition].span, "outside-route",
                 "the station's area ends at " + metres(end) +
                     ", so its end marker falls in cell 1 or before: the area must end after 100 m");
        r_.cite(24);
        return;
    }
    const std::int64_t cell = nearest(x);
    if (cell > route_->last_cell) {
        r_.error(l.file, l.values[station_value::kPosition].span, "outside-route",
                 "the station's area ends at " + metres(end) + ", and its end marker falls beyond the route's cells");
        r_.cite(15);
        return;
    }
    if (type != 5 && type != 6) {
        for (int m = 1; m <= 4; ++m) {
            if (x - m > 1) mark(l, nearest(x - m), "station's approach marker");
        }
    }
    if (cell == 1) {
        r_.error(l.file, l.values[station_value::kPosition].span, "cell-one",
                 "the station's end marker falls in cell 1 (0 to 50 m), which holds the scenario's header values: "
                 "the compiler ends the run");
        r_.cite(1250);
        return;
    }
    if (const Occupant* other = cells_->holder(cell)) {
        r_.error(l.file, l.values[station_value::kPosition].span, "overwritten-object",
                 "the station's end marker goes to " + cell_extent(cell) + ", where it replaces the " +
                     std::string(other->what));
        r_.at_position(l.number(station_value::kPosition));
        r_.note(other->file, other->span, "the " + std::string(other->what) + " placed here");
    }
    take(l, cell, "station's end marker");
}

}  // namespace scenariogen::lint
