#include "cli/generation_run.h"

#include <ostream>

#include "compiler/fault_report.h"
#include "compiler/memorizza_percorso.h"
#include "content/description_files.h"
#include "content/documents.h"
#include "platform/file_system.h"

namespace scenariogen {

namespace {

int report_faults(const Scenario& s, std::ostream& status) {
    for (const Fault& fault : s.faults) status << format_fault(fault);
    status << "scenariogen: the compilation recorded error " << s.last_error << " (position " << s.error_position
           << " m)\n";
    return kFaultRecorded;
}

}  // namespace

int Form_Load(const std::string& folder, std::ostream& status) {
    const ScenarioFiles files{folder, kNomeScenario, kNumeroTreno};
    status << "Attendere" << std::endl;
    try {
        dati_linea(files);
        dati_treno(files);
        dati_note(files);
        dati_rallentamenti(files);
        dati_scheda(files);

        Scenario s;
        s.scenario_name = files.scenario_name;
        s.train_number = files.train_number;
        std::int32_t j = 1;
        const DescriptionSources sources{files.line_description(), files.train_description(), true};
        const Esito esito = memorizza_percorso(s, j, sources, files);
        if (esito == Esito::kNonDimensionato) {
            report_faults(s, status);
            status << "scenariogen: the route has no cells; no binary file was written\n";
            return kFaultRecorded;
        }
        if (s.last_error != 0) return report_faults(s, status);
    } catch (const RunEnded& ended) {
        status << ended.prompt() << "\n";
        return kFaultRecorded;
    } catch (const FileError& failure) {
        // The run's intermediate files go with it; the outputs keep their earlier content.
        for (const std::string& path : {files.line_description(), files.train_description()}) {
            try {
                remove_file(path);
            } catch (const FileError&) {
            }
        }
        status << "scenariogen: cannot write " << failure.path() << ": " << failure.reason() << "\n";
        return kOutputFailed;
    }
    return kSuccess;
}

}  // namespace scenariogen
