// The three documents for the driver: train card, slowdown order and notes.
// Each is fixed text; the line lists end with the sentinel.
#pragma once

#include "format/scenario_files.h"
#include "text/text_lines.h"

namespace scenariogen {

LineList righe_scheda();         // the train card, 44 lines
LineList righe_rallentamenti();  // the slowdown order, 46 lines
LineList righe_note();           // the notes, 135 lines

// Each writes its document into the scenario's folder.
void dati_scheda(const ScenarioFiles& files);
void dati_rallentamenti(const ScenarioFiles& files);
void dati_note(const ScenarioFiles& files);

}  // namespace scenariogen
