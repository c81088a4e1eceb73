// Where a station line's values stand, and a time of day as the check's
// messages write it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace scenariogen::lint {

// Value indexes of a station line.
namespace station_value {
enum : std::size_t {
    kPosition = 0,
    kType = 1,
    kLength = 2,
    kAttribute15 = 4,
    kAttribute14 = 5,
    kStop = 12,
    kHours = 13,
    kName = 16,
};
}  // namespace station_value

// Seconds since midnight as H:MM:SS.
std::string clock_time(std::int64_t seconds);

}  // namespace scenariogen::lint
