#include <ostream>

#include "cli/commands.h"
#include "cli/generation_run.h"
#include "compiler/fault_report.h"
#include "compiler/memorizza_percorso.h"
#include "platform/file_system.h"
#include "platform/program_folder.h"

namespace scenariogen {

namespace {

// A name that makes a file name inside the output folder and nowhere else.
bool usable_in_file_name(const std::string& name) {
    return name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

}  // namespace

int run_compile(const CompileOptions& options, std::ostream& err) {
    if (!usable_in_file_name(options.name) || !usable_in_file_name(options.train_number) || options.name.empty()) {
        err << "scenariogen: the scenario name and the train number must not be empty or hold '/'\n";
        return kUsage;
    }
    for (const std::string* source : {&options.line, &options.train}) {
        try {
            check_readable(*source);
        } catch (const FileError& failure) {
            err << "scenariogen: cannot read " << failure.path() << ": " << failure.reason() << "\n";
            return kUsage;
        }
    }
    Scenario s;
    s.scenario_name = options.name;
    s.train_number = options.train_number;
    std::int32_t j = options.no_grid ? 0 : 1;
    try {
        require_folder(options.output);
        const Esito esito = compila(s, j, DescriptionSources{options.line, options.train, false});
        for (const Fault& fault : s.faults) err << format_fault(fault);
        if (esito == Esito::kNonDimensionato) {
            err << "scenariogen: the route has no cells; no binary file was written\n";
            return kFaultRecorded;
        }
        scrivi_file_binari(s, ScenarioFiles{options.output, options.name, options.train_number});
    } catch (const RunEnded& ended) {
        for (const Fault& fault : s.faults) err << format_fault(fault);
        err << ended.prompt() << "\n";
        return kFaultRecorded;
    } catch (const FileError& failure) {
        err << "scenariogen: cannot write " << failure.path() << ": " << failure.reason() << "\n";
        return kOutputFailed;
    }
    if (s.faults.empty()) return kSuccess;
    err << "scenariogen: " << s.faults.size() << (s.faults.size() == 1 ? " fault" : " faults")
        << "; the binary files hold what was stored up to them\n";
    return kFaultRecorded;
}

}  // namespace scenariogen
