#include "timetable/timetable_check.h"

#include <algorithm>
#include <cmath>

#include "format/scenario_reading.h"
#include "text/text_lines.h"
#include "timetable/route_conditions.h"

namespace scenariogen {

namespace {

constexpr std::int64_t kDay = 86400;

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Stations first to last (indices), at standstill at both ends, and the
// model's fastest run between them.
struct Stretch {
    std::size_t first = 0;
    std::size_t last = 0;
    FastestRun run;
};

std::int64_t scheduled_leg(const std::vector<TimetableStation>& stations, std::size_t from) {
    const bool terminus = from + 2 == stations.size();
    std::int64_t seconds = std::int64_t{stations[from + 1].arrival_s(terminus)} - stations[from].time_s;
    if (seconds < -kDay / 2) seconds += kDay;
    return seconds;
}

bool ahead(const std::vector<TimetableStation>& stations, std::size_t from) {
    return stations[from + 1].position_m > stations[from].position_m;
}

// The stretches from stop to stop; a leg that does not go ahead ends one
// stretch and the next begins after it.
std::vector<Stretch> stretches(const std::vector<TimetableStation>& stations, const RouteConditions& route,
                               const TrainModel& model) {
    std::vector<Stretch> result;
    std::size_t start = 0;
    for (std::size_t k = 1; k < stations.size(); ++k) {
        if (!ahead(stations, k - 1)) {
            start = k;
            continue;
        }
        const bool ends_here = stations[k].stops || k + 1 == stations.size() || !ahead(stations, k);
        if (!ends_here) continue;
        result.push_back({start, k, fastest_run(route, model, stations[start].position_m, stations[k].position_m)});
        start = k;
    }
    return result;
}

LegCheck leg_in(const Stretch& s, const std::vector<TimetableStation>& stations, std::size_t from) {
    LegCheck leg;
    leg.from = from;
    leg.to = from + 1;
    const double a = stations[from].position_m;
    const double b = stations[from + 1].position_m;
    leg.distance_m = stations[from + 1].position_m - stations[from].position_m;
    leg.scheduled_s = scheduled_leg(stations, from);
    const double minimum = s.run.time_at(b) - s.run.time_at(a);
    if (!std::isfinite(minimum)) {
        leg.status = LegStatus::kBlocked;
        leg.blockage = s.run.blockage;
        return leg;
    }
    leg.minimum_s = minimum;
    leg.top_speed_kmh = s.run.top_speed(a, b) * 3.6;
    return leg;
}

std::vector<LegCheck> legs_of(const std::vector<TimetableStation>& stations, const std::vector<Stretch>& runs) {
    std::vector<LegCheck> legs;
    for (std::size_t from = 0; from + 1 < stations.size(); ++from) {
        const auto holding = std::find_if(runs.begin(), runs.end(),
                                          [from](const Stretch& s) { return s.first <= from && from < s.last; });
        if (holding != runs.end()) {
            legs.push_back(leg_in(*holding, stations, from));
            continue;
        }
        LegCheck leg;
        leg.from = from;
        leg.to = from + 1;
        leg.distance_m = stations[from + 1].position_m - stations[from].position_m;
        leg.scheduled_s = scheduled_leg(stations, from);
        leg.status = LegStatus::kNotAhead;
        legs.push_back(leg);
    }
    return legs;
}

// The scheduled arrivals and departures on one running clock: a leg that
// crosses midnight carries the clock past 24 hours.
std::vector<ScheduledCall> scheduled_calls(const std::vector<TimetableStation>& stations) {
    std::vector<ScheduledCall> calls(stations.size());
    calls[0] = {static_cast<double>(stations[0].time_s), static_cast<double>(stations[0].time_s)};
    for (std::size_t k = 1; k < stations.size(); ++k) {
        const double arrival = calls[k - 1].departure_s + static_cast<double>(scheduled_leg(stations, k - 1));
        calls[k] = {arrival, arrival + (k + 1 == stations.size() ? 0 : stations[k].dwell_s)};
    }
    return calls;
}

// Where the run is sampled over a stretch: its ends, its stations, the ends
// of its phases, and the multiples of the spacing within a phase where the
// speed changes (the speed holds between the ends of any other).
std::vector<double> sample_positions(const Stretch& s, const std::vector<TimetableStation>& stations, double spacing) {
    std::vector<double> at;
    const FastestRun& run = s.run;
    for (std::size_t k = s.first; k <= s.last; ++k) at.push_back(stations[k].position_m);
    for (std::size_t k = 0; k < run.position_m.size(); ++k) {
        at.push_back(run.position_m[k]);
        if (k + 1 == run.position_m.size() || run.speed_ms[k] == run.speed_ms[k + 1]) continue;
        for (double j = std::floor(run.position_m[k] / spacing) + 1; j * spacing < run.position_m[k + 1]; ++j) {
            at.push_back(j * spacing);
        }
    }
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    return at;
}

// Appends the stretch's points to the run, from the departure at its first
// station (which follows the arrival there, the last point of the stretch
// before) to the arrival at its last; returns the arrival's clock, or none
// when the model cannot get there.
std::optional<double> append_run(const Stretch& s, const std::vector<TimetableStation>& stations, double departure,
                                 double spacing, bool after_gap, std::vector<RunPoint>& run) {
    for (double x : sample_positions(s, stations, spacing)) {
        const RunState state = s.run.at(x);
        if (!std::isfinite(state.time_s)) return std::nullopt;
        run.push_back({x, state.speed_ms * 3.6, state.limit_kmh, departure + state.time_s, after_gap});
        after_gap = false;
    }
    return departure + s.run.time_at(s.run.end());
}

std::vector<RunPoint> model_run(const std::vector<TimetableStation>& stations, const std::vector<ScheduledCall>& calls,
                                const std::vector<Stretch>& runs, double spacing) {
    std::vector<RunPoint> run;
    std::optional<double> arrival;  // at the station where the last stretch ended
    std::size_t arrived_at = 0;
    for (const Stretch& s : runs) {
        double departure = calls[s.first].departure_s;
        if (arrival && arrived_at == s.first && s.first > 0) {
            departure = std::max(departure, *arrival + stations[s.first].dwell_s);
        }
        const bool after_gap = !run.empty() && !(arrival && arrived_at == s.first);
        arrival = append_run(s, stations, departure, spacing, after_gap, run);
        arrived_at = s.last;
    }
    return run;
}

}  // namespace

std::int64_t LegCheck::minimum_whole_s() const {
    // A crawl up a gradient that leaves almost no acceleration can take
    // longer than any schedule: beyond a million years it counts as that.
    constexpr double kLongest = 3.2e13;
    return static_cast<std::int64_t>(std::nearbyint(std::min(minimum_s, kLongest)));
}

double LegCheck::slack_percent() const {
    return minimum_s > 0 ? (static_cast<double>(scheduled_s) - minimum_s) / minimum_s * 100 : 0;
}

std::vector<TimetableStation> timetable_stations(const StationTable& table) {
    std::vector<TimetableStation> stations;
    for (std::size_t k = 1; k <= kFirstSignEntry; ++k) {
        const StationEntry& v = table[k];
        if (only_a_name(v)) continue;
        stations.push_back({k, trimmed(from_windows_1252(v.name)), v.position, v.time, v.dwell, v.dwell > 0});
    }
    if (!stations.empty()) {
        stations.front().stops = true;
        stations.back().stops = true;
    }
    return stations;
}

TimetableCheck check_timetable(const std::vector<Cell>& cells, const StationTable& table, const TrainModel& model) {
    TimetableCheck check;
    check.model = model;
    check.stations = timetable_stations(table);
    if (check.stations.size() < 2) return check;
    const RouteConditions route = route_conditions(cells, model.max_speed_kmh);
    const std::vector<Stretch> runs = stretches(check.stations, route, model);
    check.legs = legs_of(check.stations, runs);
    check.schedule = scheduled_calls(check.stations);
    const double spacing = std::max(model.curve_spacing_m, 1.0);
    check.run = model_run(check.stations, check.schedule, runs, spacing);
    return check;
}

}  // namespace scenariogen
