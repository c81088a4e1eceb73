// Where the train is at a time of day: on the model's fastest run, and as
// its timetable has it.
#pragma once

#include <optional>

#include "timetable/timetable_check.h"

namespace scenariogen {

struct TrainPlace {
    // On the fastest run: before its departure at the first station, after
    // its arrival at the last; none where the run has a gap (a leg the model
    // could not finish) or there is no run.
    std::optional<double> run_m;
    double run_speed_kmh = 0;
    // As the timetable has it: at a station from its arrival to its
    // departure, between two at an even pace from the departure to the
    // arrival; at the first station before it departs, at the terminus after
    // it arrives. None without stations.
    std::optional<double> scheduled_m;
};

// `clock_s` in seconds since midnight of the first departure's day, as the
// run's clock counts.
TrainPlace train_place_at(const TimetableCheck& check, double clock_s);

}  // namespace scenariogen
