#include "timetable/train_place.h"

#include <algorithm>
#include <vector>

namespace scenariogen {

namespace {

// Between two points of the run the acceleration is constant: the distance
// covered grows with v0·τ + a·τ²/2, scaled to the points' own distance so
// that the place meets both points exactly.
void place_between(const RunPoint& from, const RunPoint& to, double clock_s, TrainPlace& place) {
    const double span = to.clock_s - from.clock_s;
    if (!(span > 0)) {
        place.run_m = to.position_m;
        place.run_speed_kmh = to.speed_kmh;
        return;
    }
    const double tau = clock_s - from.clock_s;
    const double v0 = from.speed_kmh / 3.6;
    const double v1 = to.speed_kmh / 3.6;
    const double a = (v1 - v0) / span;
    const double whole = (v0 + v1) / 2 * span;
    const double share = whole > 0 ? (v0 * tau + a * tau * tau / 2) / whole : tau / span;
    place.run_m = from.position_m + share * (to.position_m - from.position_m);
    place.run_speed_kmh = (v0 + a * tau) * 3.6;
}

void place_on_run(const std::vector<RunPoint>& run, double clock_s, TrainPlace& place) {
    if (run.empty()) return;
    if (clock_s <= run.front().clock_s) {
        place.run_m = run.front().position_m;
        return;
    }
    for (std::size_t i = 1; i < run.size(); ++i) {
        if (clock_s > run[i].clock_s) continue;
        if (run[i].after_gap) return;  // the model could not finish the leg: nowhere
        place_between(run[i - 1], run[i], clock_s, place);
        return;
    }
    place.run_m = run.back().position_m;
}

// The timetable's line: departure, arrival, departure ... at the stations'
// places; the first stretch that holds the time, an impossible one (that
// goes back in time) passed over.
void place_on_schedule(const TimetableCheck& check, double clock_s, TrainPlace& place) {
    const std::size_t count = std::min(check.stations.size(), check.schedule.size());
    if (count == 0) return;
    struct Call {
        double clock_s;
        double position_m;
    };
    std::vector<Call> calls;
    for (std::size_t i = 0; i < count; ++i) {
        const double at = check.stations[i].position_m;
        if (i > 0) calls.push_back({check.schedule[i].arrival_s, at});
        if (i + 1 < count) calls.push_back({check.schedule[i].departure_s, at});
    }
    if (calls.empty() || clock_s <= calls.front().clock_s) {
        place.scheduled_m = check.stations.front().position_m;
        return;
    }
    for (std::size_t i = 1; i < calls.size(); ++i) {
        const Call& from = calls[i - 1];
        const Call& to = calls[i];
        if (clock_s < from.clock_s || clock_s > to.clock_s) continue;
        const double span = to.clock_s - from.clock_s;
        place.scheduled_m = span > 0
                                ? from.position_m + (clock_s - from.clock_s) / span * (to.position_m - from.position_m)
                                : to.position_m;
        return;
    }
    place.scheduled_m = calls.back().position_m;
}

}  // namespace

TrainPlace train_place_at(const TimetableCheck& check, double clock_s) {
    TrainPlace place;
    place_on_run(check.run, clock_s, place);
    place_on_schedule(check, clock_s, place);
    return place;
}

}  // namespace scenariogen
