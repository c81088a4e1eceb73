// Encodes the scenario records into the bytes of the three binary files.
#pragma once

#include <string>
#include <vector>

#include "format/records.h"
#include "platform/file_system.h"

namespace scenariogen {

void write_cells(const std::vector<Cell>& cells, ByteOutput& out);
void write_station_table(const StationTable& table, ByteOutput& out);

// The same bytes in memory.

std::string encode_cells(const std::vector<Cell>& cells);
std::string encode_station_table(const StationTable& table);
std::string encode_grid(const Grid& grid);

}  // namespace scenariogen
