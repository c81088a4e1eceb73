// The timetable check as the author reads it: a table of the legs, the
// same as JSON for other tools, and the sentence that says why a leg
// cannot be kept.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "timetable/timetable_check.h"

namespace scenariogen {

// A duration as "6 min 41 s" ("1 h 2 min 3 s" from an hour on, "15 s" and "-15 s" under a minute).
std::string duration_text(std::int64_t seconds);

// The model in one line: "acceleration 0.50 m/s², braking 0.90 m/s² (130 %
// braked mass), top speed 130 km/h".
std::string model_summary(const TrainModel& model);

// The table's cells: the heads, then one row per leg with its distance,
// scheduled time, minimum running time, slack, top speed and a mark for a
// leg that cannot be kept.
std::vector<std::vector<std::string>> timetable_rows(const TimetableCheck& check);

// The table: one row per leg with its distance, scheduled time, minimum
// running time, slack and top speed, under a line that names the model.
std::string timetable_table(const TimetableCheck& check);

// The same as JSON.
nlohmann::json timetable_json(const TimetableCheck& check);

// Why the leg cannot be kept, in one sentence; none for a leg that can.
std::optional<std::string> leg_problem(const TimetableCheck& check, const LegCheck& leg);

}  // namespace scenariogen
