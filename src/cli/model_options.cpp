#include "cli/model_options.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <string>

namespace scenariogen {

namespace {

// A finite number above 0, in `unit`: not NaN, not an infinity, not 0.
CLI::Validator above_zero(const std::string& unit) {
    return CLI::Validator(
        [unit](std::string& text) -> std::string {
            double value = 0;
            const char* end = text.data() + text.size();
            const auto [stop, error] = std::from_chars(text.data(), end, value);
            if (error == std::errc() && stop == end && std::isfinite(value) && value > 0) return "";
            return "give a number above 0 (" + unit + "), not '" + text + "'";
        },
        "");
}

}  // namespace

void add_model_options(CLI::App& command, TrainModelChoice& choice) {
    command.add_option("--acceleration", choice.acceleration, "The train's acceleration, m/s² (default 0.5)")
        ->option_text("A")
        ->check(above_zero("m/s²"));
    command
        .add_option("--braking", choice.braking, "The train's braking, m/s² (default: from the braked-mass percentage)")
        ->option_text("B")
        ->check(above_zero("m/s²"));
    command.add_option("--max-speed", choice.max_speed_kmh, "The train's top speed, km/h (default 130)")
        ->option_text("V")
        ->check(above_zero("km/h"));
}

}  // namespace scenariogen
