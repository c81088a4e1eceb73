// The compilation: both description files read into the records, the cells
// completed, the header values and identity codes stored, the binary files
// written.
#pragma once

#include <cstdint>

#include "compiler/memorizza_dati.h"
#include "compiler/scenario.h"
#include "format/scenario_files.h"

namespace scenariogen {

enum class Esito {
    kScritto,          // the binary files were written (faults may be recorded)
    kNonDimensionato,  // the reading stopped before the route had cells: nothing written
};

// Compiles `sources` into `s` and writes the binary files named by `targets`
// (the grid only when j is not 0). Throws RunEnded when the header slots are
// already taken (errors 1250 and 1251): nothing is written then. Throws
// FileError when a binary file cannot be written: no binary file changes.
Esito memorizza_percorso(Scenario& s, std::int32_t& j, const DescriptionSources& sources, const ScenarioFiles& targets);

// The steps before the writing, for callers that write elsewhere or not at all.
Esito compila(Scenario& s, std::int32_t& j, const DescriptionSources& sources);

// Writes the binary files from the records; all or none change.
void scrivi_file_binari(const Scenario& s, const ScenarioFiles& targets);

}  // namespace scenariogen
