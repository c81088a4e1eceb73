// Can the train keep its timetable? The stations of the station table, the
// scheduled time of every leg between consecutive stations, the model's
// minimum running time for it, and the model's fastest run along the route.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "format/records.h"
#include "timetable/fastest_run.h"
#include "timetable/train_model.h"

namespace scenariogen {

struct TimetableStation {
    std::size_t entry = 0;  // in the station table
    std::string name;       // UTF-8, without the blanks around it
    std::int32_t position_m = 0;
    std::int32_t time_s = 0;   // as written: the departure; at the terminus the arrival
    std::int32_t dwell_s = 0;  // the stop, seconds
    bool stops = false;        // at standstill here: the first and last station and every station with a stop

    // Scheduled arrival: the time less the stop; at the terminus the time.
    std::int32_t arrival_s(bool terminus) const { return terminus ? time_s : time_s - dwell_s; }
};

enum class LegStatus {
    kRunnable,  // the model runs it in `minimum_s`
    kBlocked,   // the model cannot get through: see `blockage`
    kNotAhead,  // the arrival station does not lie beyond the departure station
};

struct LegCheck {
    std::size_t from = 0;  // index into TimetableCheck::stations
    std::size_t to = 0;
    std::int32_t distance_m = 0;
    // Scheduled arrival at `to` less the departure from `from`; a leg that
    // seems to go back more than 12 hours crosses midnight.
    std::int64_t scheduled_s = 0;
    LegStatus status = LegStatus::kRunnable;
    double minimum_s = 0;      // kRunnable
    double top_speed_kmh = 0;  // kRunnable
    std::optional<Blockage> blockage;

    // The minimum in whole seconds, as shown and compared.
    std::int64_t minimum_whole_s() const;
    // (scheduled − minimum) / minimum, in per cent.
    double slack_percent() const;
    // Scheduled faster than the model can run it (whole seconds).
    bool too_tight() const { return status == LegStatus::kRunnable && scheduled_s < minimum_whole_s(); }
};

// One point of the model's run: where, how fast, under which limit and when
// on the clock. The run leaves the first station at its scheduled departure,
// runs every leg as fast as it can, stops the stop time at every station
// where it stops and never leaves a station before its scheduled departure;
// after a leg it cannot run it starts again at the next scheduled departure.
// A stop gives two points at the same position: the arrival and the departure.
struct RunPoint {
    double position_m = 0;
    double speed_kmh = 0;
    double limit_kmh = 0;
    double clock_s = 0;      // seconds since midnight of the first departure's day
    bool after_gap = false;  // the run starts again here after a stretch the model could not finish
};

// A station's scheduled arrival and departure on the run's clock: seconds
// since midnight of the first departure's day, past 24 hours after a leg
// that crosses midnight. At the first station the arrival is the departure,
// at the terminus the departure is the arrival.
struct ScheduledCall {
    double arrival_s = 0;
    double departure_s = 0;
};

struct TimetableCheck {
    TrainModel model;
    std::vector<TimetableStation> stations;
    std::vector<ScheduledCall> schedule;  // one per station
    std::vector<LegCheck> legs;           // between consecutive stations
    // Sampled at every station, at the ends of the run's phases, and every
    // `model.curve_spacing_m` metres where the speed changes.
    std::vector<RunPoint> run;
};

// The stations of a station table: the entries from 1 on that hold one.
std::vector<TimetableStation> timetable_stations(const StationTable& table);

// The check of the timetable in the station table against these cells.
TimetableCheck check_timetable(const std::vector<Cell>& cells, const StationTable& table, const TrainModel& model);

}  // namespace scenariogen
