// Numbers, times and table texts as the page writes them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace scenariogen::plotting {

// Fixed decimals, with a real minus sign.
std::string fixed(double v, int decimals);

// Metres as kilometres, "12.800 km".
std::string km_text(double metres);

// A signed integer with a real minus sign and an explicit plus.
std::string signed_text(long v);

// Seconds since midnight as "6:33", or "6:33:20" when the seconds are not 0.
std::string clock_text(std::int64_t seconds);

// A name from the station table, as UTF-8 without surrounding blanks.
std::string table_text(std::string_view bytes);

// A sign text "(   P.L.  )(km 6+532)" as its lines, "P.L. / km 6+532".
std::string sign_lines(std::string_view bytes);

// A kilometre value of a scale whose step is `step_m`: whole kilometres, or
// one decimal for steps under a kilometre.
std::string kilometre_value_text(double metres, double step_m);

// 1, 2 or 5 times a power of ten, the smallest not below `at_least`.
double nice_step(double at_least);

}  // namespace scenariogen::plotting
