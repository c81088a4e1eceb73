// Reading both description files into the scenario records.
#pragma once

#include <string>

#include "compiler/scenario.h"

namespace scenariogen {

struct DescriptionSources {
    std::string line_path;   // the line description
    std::string train_path;  // the train description
    // True for the run's own intermediate files, which are deleted once read;
    // an author's files are never deleted.
    bool intermediate = true;
};

// Reads the line description, then the train description, into `s`. Faults
// are recorded in `s` (codice_errore, posizione_errore, faults); the cells
// stay unsized when the reading stops before the route length is known.
void memorizza_dati(Scenario& s, const DescriptionSources& sources);

}  // namespace scenariogen
