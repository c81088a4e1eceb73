#include "cli/diagnostics_output.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "platform/file_system.h"
#include "views/diagnostics/sarif_log.h"

namespace scenariogen {

void DiagnosticsOutput::add_to(CLI::App& command) {
    command.add_option("--diagnostics-format", format_, "text (default), or json: one JSON object a line on stderr")
        ->check(CLI::IsMember({"text", "json"}))
        ->option_text("text|json");
    command.add_option("--sarif", sarif_file_, "Also write the diagnostics as a SARIF 2.1.0 log into FILE")
        ->option_text("FILE");
}

std::size_t DiagnosticsOutput::report(const StrictCompilation& c, const DiagnosticSources& sources,
                                      std::size_t max_errors, std::ostream& err) const {
    if (!json_lines()) return report_strictly(c, sources, max_errors, err);
    const LimitedDiagnostics limited = limit_errors(c.diagnostics, max_errors);
    std::size_t errors = limited.errors_left_out + c.result.faults.size();
    for (const Diagnostic& d : limited.shown) errors += d.severity == Severity::kError;
    report_more(shown_diagnostics(c, max_errors), sources, err);
    return errors;
}

void DiagnosticsOutput::report_more(const Diagnostics& diagnostics, const DiagnosticSources& sources,
                                    std::ostream& err) const {
    if (!json_lines()) {
        for (const Diagnostic& d : diagnostics) err << format_diagnostic(d, sources);
        return;
    }
    for (const nlohmann::json& d : diagnostics_json(diagnostics, file_names(sources))) err << d.dump() << "\n";
}

bool DiagnosticsOutput::sarif_spares(const std::string& line, const std::string& train, std::ostream& err) const {
    if (sarif_file_.empty()) return true;
    for (const std::string* source : {&line, &train}) {
        if (!same_file(*source, sarif_file_)) continue;
        err << "scenariogen: --sarif " << sarif_file_ << " is " << *source << "; the log never replaces a description\n";
        return false;
    }
    return true;
}

void DiagnosticsOutput::write_sarif(const Diagnostics& diagnostics, const DiagnosticSources& sources) const {
    if (sarif_file_.empty()) return;
    refuse_folder_as_output(sarif_file_);
    replace_file(sarif_file_, sarif_log(diagnostics, file_names(sources), SCENARIOGEN_VERSION).dump(2) + "\n");
}

Diagnostics shown_diagnostics(const StrictCompilation& c, std::size_t max_errors) {
    Diagnostics shown = limit_errors(c.diagnostics, max_errors).shown;
    shown.insert(shown.end(), c.result.faults.begin(), c.result.faults.end());
    return shown;
}

DiagnosticFileNames file_names(const DiagnosticSources& sources) { return {sources.line_file, sources.train_file}; }

}  // namespace scenariogen
