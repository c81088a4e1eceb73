// Numbers, times and table texts as the page writes them.
#pragma once

#include <cstddef>
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

// Where a change of gradient or speed limit that holds from cell
// `first_cell` on was written: a value written at p holds from the start
// of the cell that ends at p, 50 m before it. Empty for cell 1, which
// holds the line's first value.
std::string written_at_note(std::size_t first_cell);

// A number to two significant digits, "310", "4.5", "12 000".
std::string two_digits(double v);

// 1, 2 or 5 times a power of ten, the smallest not below `at_least`.
double nice_step(double at_least);

}  // namespace scenariogen::plotting
