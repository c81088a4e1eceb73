// The names of the strict check's diagnostics, and what the command line
// does with the warnings among them: -Wname, -Wno-name, -Werror and a limit
// on the errors shown.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "compiler/diagnostic.h"

namespace scenariogen {

struct DiagnosticName {
    std::string_view name;
    std::string_view meaning;  // one line, for --help and the README
};

// The warnings: legal but suspicious; each can be turned off or made an error.
std::span<const DiagnosticName> warning_names();
// The errors: what the compiler would store other than written, drop, or refuse.
std::span<const DiagnosticName> error_names();

bool is_warning_name(std::string_view name);

struct WarningOptions {
    bool warnings_are_errors = false;                    // -Werror
    std::vector<std::pair<std::string, bool>> switches;  // -Wname (true), -Wno-name (false), in command-line order
    std::vector<std::pair<std::string, bool>> errors;    // -Werror=name (true), -Wno-error=name (false), in order
};

// The names of the switches that name no warning.
std::vector<std::string> unknown_warning_names(const WarningOptions& options);

// The warning name nearest to a misspelt one, for "did you mean ...?".
std::optional<std::string_view> nearest_warning_name(std::string_view name);

// Drops the warnings that are turned off, with their notes; with -Werror
// the others become errors (they keep their names), and so does a warning
// named by -Werror=name; the last of -Werror=name and -Wno-error=name wins,
// over -Werror.
Diagnostics apply_warning_options(Diagnostics diagnostics, const WarningOptions& options);

// -fmax-errors=N: the diagnostics up to the Nth error and its notes (0: all);
// warnings after it are left out too.
struct LimitedDiagnostics {
    Diagnostics shown;
    std::size_t errors_left_out = 0;
};
LimitedDiagnostics limit_errors(Diagnostics diagnostics, std::size_t max_errors);

}  // namespace scenariogen
