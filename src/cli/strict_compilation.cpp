#include "cli/strict_compilation.h"

#include <charconv>
#include <ostream>

#include "cli/compilation_report.h"
#include "cli/warning_flags.h"
#include "lint/check.h"

namespace scenariogen {

namespace {

bool is_error(const Diagnostic& d) { return d.severity == Severity::kError; }

// Faults of the placement rules name a cell; the line of the signal or
// slowdown that holds it is where an author finds them.
void locate_cell_faults(CompileResult& result) {
    for (Diagnostic& fault : result.faults) {
        if (fault.cell && !fault.where) fault.where = placing_line(result, *fault.cell);
    }
}

}  // namespace

bool StrictCompilation::has_errors() const {
    for (const Diagnostic& d : diagnostics) {
        if (is_error(d)) return true;
    }
    return !compiled || result.outcome != CompileOutcome::kCompiled || !result.faults.empty();
}

StrictCompilation compile_strictly(const std::string& line_path, const std::string& train_path,
                                   const StrictOptions& options) {
    StrictCompilation c;
    const DescriptionFile line = read_description(line_path);
    const DescriptionFile train = read_description(train_path);
    if (!line.text || !train.text) {
        c.diagnostics.push_back(unreadable_description(line.text ? train : line));
        return c;
    }
    PreparedDescriptions prepared = prepare_descriptions(*line.text, *train.text);
    c.line_text = std::move(prepared.line_text);
    c.train_text = std::move(prepared.train_text);
    c.diagnostics = std::move(prepared.diagnostics);
    if (prepared.refused) return c;
    Diagnostics checked = check_descriptions(c.line_text, c.train_text);
    c.diagnostics.insert(c.diagnostics.end(), std::make_move_iterator(checked.begin()),
                         std::make_move_iterator(checked.end()));
    c.diagnostics = apply_warning_options(std::move(c.diagnostics), options.warnings);
    CompileInput input{c.line_text, std::string_view(c.train_text), options.scenario_name, options.train_number,
                       options.build_grid};
    input.grid_coordinates = false;  // computed as the grid file is written, if it is
    c.result = compile(input);
    locate_cell_faults(c.result);
    c.compiled = true;
    return c;
}

std::size_t report_strictly(const StrictCompilation& c, const DiagnosticSources& sources, std::size_t max_errors,
                            std::ostream& err) {
    const LimitedDiagnostics limited = limit_errors(c.diagnostics, max_errors);
    std::size_t errors = limited.errors_left_out;
    for (const Diagnostic& d : limited.shown) {
        err << format_diagnostic(d, sources);
        if (is_error(d)) ++errors;
    }
    if (limited.errors_left_out > 0) {
        err << "scenariogen: " << limited.errors_left_out << " more errors not shown (-fmax-errors=" << max_errors
            << ")\n";
    }
    for (const Diagnostic& fault : c.result.faults) err << format_diagnostic(fault, sources);
    errors += c.result.faults.size();
    return errors;
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
