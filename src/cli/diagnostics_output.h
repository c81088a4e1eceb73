// How `compile` and `check` hand their diagnostics on: as text for people
// (the default), as one JSON object a line for tools
// (--diagnostics-format=json), and as a SARIF file for code-scanning
// services (--sarif FILE).
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

#include "cli/strict_compilation.h"
#include "pipeline/diagnostics_json.h"

namespace CLI {
class App;
}

namespace scenariogen {

class DiagnosticsOutput {
public:
    void add_to(CLI::App& command);
    bool json_lines() const { return format_ == "json"; }

    // The pipeline's diagnostics (already up to the error limit), in the
    // format chosen; returns the number of errors, those left out included.
    std::size_t report(const PipelineOutcome& c, const DiagnosticSources& sources, std::size_t max_errors,
                       std::ostream& err) const;
    // More diagnostics (the timetable's), in the format chosen.
    void report_more(const Diagnostics& diagnostics, const DiagnosticSources& sources, std::ostream& err) const;
    // False, with a message, when --sarif names LINE or TRAIN: the log never replaces a description.
    bool sarif_spares(const std::string& line, const std::string& train, std::ostream& err) const;
    // With --sarif FILE, replaces FILE with the log of `diagnostics`. Throws FileError.
    void write_sarif(const Diagnostics& diagnostics, const DiagnosticSources& sources) const;

private:
    std::string format_ = "text";
    std::string sarif_file_;
};

DiagnosticFileNames file_names(const DiagnosticSources& sources);

}  // namespace scenariogen
