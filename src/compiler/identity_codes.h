// The two identity codes of a scenario: checksums of the train number
// followed by the scenario name, in lower case, padded to 25 characters.
#pragma once

#include <cstdint>
#include <string>

#include "format/records.h"

namespace scenariogen {

// The 25 characters that both codes sum.
std::string finestra_identita(const std::string& numero_treno, const std::string& nome_scenario);

// Plain sum of the character codes (entry 86 name, then entry 85 name).
std::int16_t codice_gara_og(const StationTable& tabella);
// Sum weighted by position, 1 to 25.
std::int32_t codice_gara_st(const StationTable& tabella);

}  // namespace scenariogen
