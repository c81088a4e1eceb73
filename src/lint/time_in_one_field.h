// A time of day written in one field, "7:21:00", "7:21" or "7.21.00": the format reads
// hours, minutes and seconds as three numbers, each after a comma.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scenariogen::lint {

// The advice for a field that holds a whole time; none for any other field.
std::optional<std::string> time_in_one_field(std::string_view field);

}  // namespace scenariogen::lint
