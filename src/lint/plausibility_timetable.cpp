// The stations and the timetable: names, stops, the scenario's clock and
// the time each leg leaves the train to run.
#include <string>

#include "lint/plausibility.h"
#include "lint/station_values.h"

namespace scenariogen::lint {

namespace {

std::int64_t station_time(const KeywordLine& s) {
    return (s.number(station_value::kHours) * 60 + s.number(station_value::kHours + 1)) * 60 +
           s.number(station_value::kHours + 2);
}

std::string name_of(const KeywordLine& s) { return quoted(s.values[station_value::kName].text); }

}  // namespace

void check_station_names(const DescribedRoute& route, Report& r) {
    const std::vector<KeywordLine>& stations = route.stations;
    for (std::size_t j = 0; j < stations.size(); ++j) {
        const Value& name = stations[j].values[station_value::kName];
        if (name.text.size() > kLongestName) {
            r.warning(stations[j].file, name.span, "long-name",
                      "the station's name is " + std::to_string(name.text.size()) +
                          " characters long: the longest station names have about " + std::to_string(kLongestName));
        }
        const std::string n = normalised(name.text);
        if (n.empty()) continue;
        for (std::size_t i = 0; i < j; ++i) {
            // A line that comes back to where it began may end at its first station.
            const bool round_trip = i == 0 && j + 1 == stations.size();
            if (round_trip || normalised(stations[i].values[station_value::kName].text) != n) continue;
            r.warning(stations[j].file, name.span, "duplicate-station",
                      "a station named " + name_of(stations[j]) + " stands already at " +
                          metres(stations[i].number(0)) + ": each station of the timetable has a name of its own");
            r.at_position(stations[j].number(0));
            r.note(stations[i].file, stations[i].values[station_value::kName].span, "the station of that name");
            break;
        }
    }
}

// A stop is given in seconds: 1 for a minute is a slip, and 0 makes the train
// pass the station, which is a slip too where it stops at the others.
void check_stops(const DescribedRoute& route, Report& r) {
    const std::vector<KeywordLine>& stations = route.stations;
    if (stations.size() < 3) return;
    const KeywordLine* stopping = nullptr;
    for (std::size_t k = 1; k + 1 < stations.size(); ++k) {
        if (stations[k].number(station_value::kStop) > 0) stopping = stopping != nullptr ? stopping : &stations[k];
    }
    for (std::size_t k = 1; k + 1 < stations.size(); ++k) {
        const KeywordLine& s = stations[k];
        const std::int64_t stop = s.number(station_value::kStop);
        if (stop > 0 && stop < kShortestStop) {
            r.warning(s.file, s.values[station_value::kStop].span, "short-stop",
                      "a stop of " + std::to_string(stop) + " s at " + name_of(s) +
                          ": stops are in seconds, so a stop of a minute is written 60");
        } else if (stop == 0 && stopping != nullptr) {
            r.warning(s.file, s.values[station_value::kStop].span, "no-stop",
                      "the stop at " + name_of(s) + " is 0 s, so the train passes it without stopping, though it " +
                          "stops at " + name_of(*stopping) + ": give the stop in seconds (60 for a minute)");
            r.note(stopping->file, stopping->values[station_value::kStop].span, "a station where the train stops");
        }
    }
}

void check_clock(const DescribedRoute& route, Report& r) {
    if (!route.clock || route.stations.empty()) return;
    const KeywordLine& c = *route.clock;
    const std::int64_t clock = (c.number(0) * 60 + c.number(1)) * 60 + c.number(2);
    const KeywordLine& first = route.stations.front();
    const std::int64_t departure = station_time(first);
    const std::int64_t late = clock - departure;
    if (late <= 0 || late >= 12 * 3600) return;  // a clock half a day after: the day before, across midnight
    r.warning(c.file, c.values[0].span, "clock",
              "the scenario's clock starts at " + clock_time(clock) + ", after the train's departure from " +
                  name_of(first) + " at " + clock_time(departure) + ": the train is late before it starts");
    r.note(first.file, first.values[station_value::kHours].span, "the first departure");
}

// A leg runs from a station's time (its departure) to the next station's
// time less its stop (its arrival; the terminus's time is its arrival).
void check_running_times(const DescribedRoute& route, Report& r) {
    const std::vector<KeywordLine>& stations = route.stations;
    for (std::size_t k = 1; k < stations.size(); ++k) {
        const KeywordLine& from = stations[k - 1];
        const KeywordLine& to = stations[k];
        const std::int64_t departure = station_time(from);
        const std::int64_t time = station_time(to);
        if (time < departure) continue;  // reported as out of order
        const bool terminus = k + 1 == stations.size();
        const std::int64_t arrival = terminus ? time : time - to.number(station_value::kStop);
        if (arrival > departure) continue;
        std::string how = terminus ? ""
                                   : " (its time " + clock_time(time) + " less its " +
                                         std::to_string(to.number(station_value::kStop)) + " s stop)";
        r.warning(to.file, to.values[station_value::kHours].span, "no-running-time",
                  "the train arrives at " + name_of(to) + " at " + clock_time(arrival) + how + ", no later than it " +
                      "leaves " + name_of(from) + " at " + clock_time(departure) + ": the leg leaves no time to run");
        r.at_position(to.number(0));
        r.note(from.file, from.values[station_value::kHours].span, "the departure from " + name_of(from));
    }
}

}  // namespace scenariogen::lint
