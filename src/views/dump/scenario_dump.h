// Inspection of compiled scenarios: the three binary files decoded into
// readable tables or JSON, with every member named and in its unit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "format/scenario_reading.h"

namespace scenariogen {

// Tells the kind of a binary file by its name, then by its content.
// Throws DecodeError when neither tells.
FileKind detect_kind(std::string_view name, std::string_view bytes);

struct DumpOptions {
    bool all_cells = false;    // every cell that holds anything, not only where something changes
    std::int32_t every = 100;  // grid: one row every so many metres
};

// The decoded content as JSON. Throws DecodeError for a malformed file.
nlohmann::json dump_json(FileKind kind, std::string_view bytes, const DumpOptions& options);

// The same as a readable table.
std::string dump_table(FileKind kind, std::string_view bytes, const DumpOptions& options);

// Names of the cell types, as the tables show them.
std::string_view cell_kind_name(std::uint8_t kind);

}  // namespace scenariogen
