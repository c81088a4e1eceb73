#include "cli/compilation_report.h"

#include <ostream>

#include "compiler/error_numbers.h"
#include "platform/file_system.h"

namespace scenariogen {

DescriptionFile read_description_file(const std::string& path) {
    DescriptionFile file{path, std::nullopt, {}};
    try {
        file.text = read_file(path, kMaxDescriptionBytes);
    } catch (const FileError& failure) {
        file.failure = failure.what();
    }
    return file;
}

Diagnostic unreadable_description(const DescriptionFile& file) {
    Diagnostic fault;
    fault.number = 25;
    fault.detail = file.failure;
    return fault;
}

void report_faults(const CompileResult& result, const DiagnosticSources& sources, std::ostream& err) {
    const bool ended = result.outcome == CompileOutcome::kHeaderSlotsTaken;
    for (std::size_t i = 0; i < result.faults.size(); ++i) {
        if (ended && i + 1 == result.faults.size()) break;
        err << format_diagnostic(result.faults[i], sources);
    }
    if (ended) err << kRunEndingPrompt << result.last_error << "\n";
}

}  // namespace scenariogen
