// Hand-made routes and timetables for the running-time model: straight
// cells under one limit, stations at given positions and times.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "format/records.h"
#include "timetable/train_model.h"

namespace scenariogen::testing::timetable {

inline constexpr double kA = 0.5;  // m/s²
inline constexpr double kB = 0.5;  // m/s²
inline constexpr double kG = 9.81;

inline double ms(double kmh) { return kmh / 3.6; }

// Run from standstill to standstill over L metres under one limit V that
// the train reaches: accelerating V/a s over V²/2a m, braking V/b s over
// V²/2b m, the rest at V: L/V + V/2a + V/2b.
inline double full_run(double length, double v, double a, double b) { return length / v + v / (2 * a) + v / (2 * b); }

// A straight route of `length_m` metres (and 1000 m beyond) with one line
// limit and no gradient.
inline std::vector<Cell> route(std::int32_t length_m, int limit_kmh) {
    std::vector<Cell> cells(static_cast<std::size_t>(length_m / 50 + 21));
    for (std::size_t i = 1; i < cells.size(); ++i) {
        cells[i].speed_limit = static_cast<std::uint8_t>(limit_kmh / 5);
        cells[i].gradient = 100;
    }
    return cells;
}

// Sets a property on the cells that cover the metres [from, to).
inline void over(std::vector<Cell>& cells, std::int32_t from, std::int32_t to, const std::function<void(Cell&)>& set) {
    for (std::int32_t i = from / 50 + 1; i <= to / 50; ++i) set(cells[static_cast<std::size_t>(i)]);
}

struct Stop {
    std::int32_t position;
    std::int32_t time;  // departure; at the last station the arrival
    std::uint8_t dwell = 0;
};

inline StationTable timetable(const std::vector<Stop>& stops) {
    StationTable table{};
    for (std::size_t k = 0; k < stops.size(); ++k) {
        StationEntry& e = table[k + 1];
        e.kind = 12;
        e.name = "S" + std::to_string(k + 1);
        e.position = stops[k].position;
        e.start = stops[k].position - 300;
        e.end = stops[k].position + 300;
        e.time = stops[k].time;
        e.dwell = stops[k].dwell;
    }
    table[kTrainEntry].start = 130;
    return table;
}

inline TrainModel model(double max_speed_kmh = 200) {
    TrainModel m;
    m.acceleration = kA;
    m.braking = kB;
    m.max_speed_kmh = max_speed_kmh;
    return m;
}

// Starts at 6:00:00.
inline constexpr std::int32_t kSix = 6 * 3600;

}  // namespace scenariogen::testing::timetable
