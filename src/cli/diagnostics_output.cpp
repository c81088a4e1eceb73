#include "cli/diagnostics_output.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "pipeline/sarif_log.h"
#include "platform/file_system.h"

namespace scenariogen {

void DiagnosticsOutput::add_to(CLI::App& command) {
    command.add_option("--diagnostics-format", format_, "text (default), or json: one JSON object a line on stderr")
        ->check(CLI::IsMember({"text", "json"}))
        ->option_text("text|json");
    command.add_option("--sarif", sarif_file_, "Also write the diagnostics as a SARIF 2.1.0 log into FILE")
        ->option_text("FILE");
}

std::size_t DiagnosticsOutput::report(const PipelineOutcome& c, const DiagnosticSources& sources,
                                      std::size_t max_errors, std::ostream& err) const {
    if (!json_lines()) return report_strictly(c, sources, max_errors, err);
    report_more(c.diagnostics, sources, err);
    return c.error_count();
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
        err << "scenariogen: --sarif " << sarif_file_ << " is " << *source
            << "; the log never replaces a description\n";
        return false;
    }
    return true;
}

void DiagnosticsOutput::write_sarif(const Diagnostics& diagnostics, const DiagnosticSources& sources) const {
    if (sarif_file_.empty()) return;
    refuse_folder_as_output(sarif_file_);
    replace_file(sarif_file_, sarif_log(diagnostics, file_names(sources), SCENARIOGEN_VERSION).dump(2) + "\n");
}

DiagnosticFileNames file_names(const DiagnosticSources& sources) { return {sources.line_file, sources.train_file}; }

}  // namespace scenariogen
