// Encodes the scenario records into the bytes of the three binary files.
#pragma once

#include <string>
#include <vector>

#include "compiler/records.h"

namespace scenariogen {

std::string encode_cells(const std::vector<cella_percorso>& percorso);
std::string encode_station_table(const tabella_stazioni_t& tabella);
std::string encode_grid(const griglia_t& griglia);

}  // namespace scenariogen
