// The two identity codes of a scenario: checksums of the train number
// followed by the scenario name, in lower case, padded to 25 characters.
#pragma once

#include <cstdint>
#include <string>

#include "format/records.h"

namespace scenariogen {

// The 25 characters that both codes sum.
std::string identity_window(const std::string& train_number, const std::string& scenario_name);

// Plain sum of the character codes (entry 86 name, then entry 85 name).
std::int16_t short_identity_code(const StationTable& table);
// Sum weighted by position, 1 to 25.
std::int32_t long_identity_code(const StationTable& table);

}  // namespace scenariogen
