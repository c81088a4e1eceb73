#include "lint/station_values.h"

namespace scenariogen::lint {

std::string clock_time(std::int64_t seconds) {
    const auto two = [](std::int64_t v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return std::to_string(seconds / 3600) + ":" + two(seconds / 60 % 60) + ":" + two(seconds % 60);
}

}  // namespace scenariogen::lint
