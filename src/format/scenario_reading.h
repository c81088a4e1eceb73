// What the three files of a compiled scenario hold beyond their layout: how
// to tell them apart by their content, the header entries of the station
// table, and the files checked for what the compiler writes into every
// scenario. One reading for the inspection (dump), the picture (plot) and
// the preview.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "format/binary_reader.h"
#include "format/plan_sample.h"
#include "format/records.h"
#include "platform/file_system.h"

namespace scenariogen {

enum class FileKind { kCells, kStationTable, kGrid };

// A decoding fault that names which of the three files it is about.
class ScenarioDecodeError : public DecodeError {
public:
    ScenarioDecodeError(FileKind file, const std::string& message, std::size_t offset)
        : DecodeError(message, offset), file_(file) {}
    FileKind file() const { return file_; }

private:
    FileKind file_;
};

// A station table walks to exactly 87 records.
bool looks_like_station_table(std::string_view bytes);
// A grid starts with the two 16-bit integers of metres 0 and 1.
bool looks_like_grid(std::string_view bytes);

// An entry from 1 to 80 that holds only a name is a sign text (or nothing
// at all); every other is a station: one with a stop is a station even where
// all else is 0.
bool only_a_name(const StationEntry& entry);

// One of the kilometric progressives of entries 81 to 83: from `from_m` on,
// the line kilometre is reference ± position.
struct ProgressiveEntry {
    int entry = 0;
    std::int32_t from_m = 0;
    std::int32_t reference_m = 0;
    bool falling = false;
    bool used = false;  // an entry that holds only zeros is not used
};

// The header entries 81 to 86 of the station table, by what they mean.
struct TableHeader {
    std::array<ProgressiveEntry, 3> progressives;  // entries 81, 82, 83
    // Entry 84: the train.
    std::int32_t braked_mass_percent = 0;
    std::int32_t route_length_m = 0;
    std::int32_t coaches = 0;
    // Entry 85: the scenario.
    std::string scenario_name;  // Windows-1252, as stored
    std::int32_t background_1 = 0;
    std::int32_t background_2 = 0;
    std::int32_t background_3 = 0;
    std::int16_t header = 0;  // format::kStationTableHeader in a compiled scenario
    std::int32_t identity_code = 0;
    // Entry 86: the signalling.
    std::string train_number;  // Windows-1252, as stored
    std::int32_t repetition_first_m = 0;
    std::int32_t repetition_second_m = 0;
    std::int32_t repetition_codes = 0;
    std::int16_t sand = 0;
    std::int32_t clock_s = 0;  // the clock's start, seconds since midnight
};

TableHeader read_table_header(const StationTable& table);

// Whether every value is a number: neither infinite nor NaN.
bool all_numbers(const double* values, std::size_t count);

// How many metres, from metre 0 on, hold both their x and their y.
std::size_t computed_metres(const DecodedGrid& grid);

// The files decoded and checked for what a compiled scenario holds. Each
// throws ScenarioDecodeError, naming its file, when the bytes are not part
// of a compiled scenario.
std::vector<Cell> read_scenario_cells(std::string_view bytes);
StationTable read_scenario_station_table(std::string_view bytes);
// The plan of a grid file read in pieces from `grid` (`size` bytes): its
// computed metres sampled as PlanSampler samples them, `chosen` among them.
// A compiled plan's x block and y block take the same bytes, so the y block
// starts halfway; its computed coordinates are all numbers.
PlanSample read_scenario_plan(ByteInput& grid, std::uint64_t size, std::vector<std::int32_t> chosen);

}  // namespace scenariogen
