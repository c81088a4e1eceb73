#include "cli/strict_compilation.h"

#include <charconv>
#include <ostream>

#include "cli/compilation_report.h"
#include "cli/warning_flags.h"

namespace scenariogen {

PipelineOutcome compile_strictly(const std::string& line_path, const std::string& train_path,
                                 const StrictOptions& options) {
    const DescriptionFile line = read_description_file(line_path);
    const DescriptionFile train = read_description_file(train_path);
    if (!line.text || !train.text) {
        PipelineOutcome refused;
        refused.diagnostics.push_back(unreadable_description(line.text ? train : line));
        return refused;
    }
    PipelineInput input;
    input.line = *line.text;
    input.train = *train.text;
    input.scenario_name = options.scenario_name;
    input.train_number = options.train_number;
    input.build_grid = options.build_grid;
    input.warnings = options.warnings;
    input.max_errors = options.max_errors;
    return run_pipeline(input);
}

std::size_t report_strictly(const PipelineOutcome& outcome, const DiagnosticSources& sources, std::size_t max_errors,
                            std::ostream& err) {
    for (const Diagnostic& d : outcome.diagnostics) err << format_diagnostic(d, sources);
    if (outcome.errors_left_out > 0) {
        err << "scenariogen: " << outcome.errors_left_out << " more errors not shown (-fmax-errors=" << max_errors
            << ")\n";
    }
    return outcome.error_count();
}

bool StrictFlags::apply(StrictOptions& options, std::ostream& err) const {
    for (const std::string& flag : w) add_warning_flag(flag, options.warnings);
    if (!warning_names_known(options.warnings, err)) return false;
    for (const std::string& flag : f) {
        constexpr std::string_view kMaxErrors = "max-errors=";
        std::size_t n = 0;
        const char* begin = flag.data() + kMaxErrors.size();
        const char* end = flag.data() + flag.size();
        if (flag.rfind(kMaxErrors, 0) != 0 || std::from_chars(begin, end, n).ptr != end || begin == end) {
            err << "scenariogen: -f" << flag << " is not an option; -fmax-errors=N limits the errors shown\n";
            return false;
        }
        options.max_errors = n;
    }
    return true;
}

}  // namespace scenariogen
