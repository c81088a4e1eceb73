#include "cli/warning_flags.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <ostream>

namespace scenariogen {

namespace {

bool starts_with(const std::string& text, std::string_view prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

void add_warning_flag(const std::string& flag, WarningOptions& options) {
    constexpr std::string_view kError = "error=";
    constexpr std::string_view kNoError = "no-error=";
    if (flag == "error") {
        options.warnings_are_errors = true;
    } else if (flag == "no-error") {
        options.warnings_are_errors = false;
    } else if (starts_with(flag, kError)) {
        const std::string name = flag.substr(kError.size());
        options.errors.emplace_back(name, true);
        options.switches.emplace_back(name, true);  // an error is shown, whatever turned it off before
    } else if (starts_with(flag, kNoError)) {
        options.errors.emplace_back(flag.substr(kNoError.size()), false);
    } else if (starts_with(flag, "no-")) {
        options.switches.emplace_back(flag.substr(3), false);
    } else {
        options.switches.emplace_back(flag, true);
    }
}

bool warning_names_known(const WarningOptions& options, std::ostream& err) {
    std::vector<std::string> unknown = unknown_warning_names(options);
    unknown.erase(std::unique(unknown.begin(), unknown.end()), unknown.end());
    for (const std::string& name : unknown) {
        err << "scenariogen: '" << name << "' names no warning";
        if (const auto nearest = nearest_warning_name(name)) err << "; did you mean '" << *nearest << "'?";
        err << " ('scenariogen compile --list-warnings' lists them)\n";
    }
    return unknown.empty();
}

std::string warning_list() {
    std::size_t width = 0;
    for (const DiagnosticName& w : warning_names()) width = std::max(width, w.name.size());
    std::string list;
    for (const DiagnosticName& w : warning_names()) {
        list +=
            "  " + std::string(w.name) + std::string(width + 2 - w.name.size(), ' ') + std::string(w.meaning) + "\n";
    }
    return list;
}

void describe_warnings(CLI::App& command) {
    command.footer("Warnings (-Wno-NAME turns one off, -Werror=NAME makes it an error, -Werror all of them):\n" +
                   warning_list());
    command.add_flag_callback(
        "--list-warnings", [] { throw CLI::CallForVersion(warning_list(), 0); },
        "List the warnings' names and meanings, and exit");
}

}  // namespace scenariogen
