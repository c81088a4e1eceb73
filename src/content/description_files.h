// The scenario's own line and train, written as the two description files
// that the compiler reads back.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "format/scenario_files.h"
#include "text/text_lines.h"

namespace scenariogen {

// One keyword line: the keyword, then each value after a comma and two
// blanks; an empty value is written as two blanks.
std::string keyword_line(const std::string& keyword, const std::vector<std::optional<int>>& values);

LineList righe_linea();  // the line description, 88 lines
LineList righe_treno();  // the train description, 40 lines

// Each writes its description file into the scenario's folder.
void dati_linea(const ScenarioFiles& files);
void dati_treno(const ScenarioFiles& files);

}  // namespace scenariogen
