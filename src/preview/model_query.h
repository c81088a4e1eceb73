// The running-time model's values as the page sends them, in the query of
// a request: "acceleration=0.6&braking=&max_speed=120". An empty or missing
// value leaves the model's own default; any other must be a finite number
// above 0, as on the command line.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "timetable/train_model.h"

namespace scenariogen {

// The choice, or a short sentence that says which value is refused and why.
std::variant<TrainModelChoice, std::string> read_model_query(std::string_view query);

// The value of `name` in a query ("a=1&b=2"), percent-decoded; empty when
// it is missing.
std::string query_value(std::string_view query, std::string_view name);

}  // namespace scenariogen
