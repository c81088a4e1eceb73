#include "views/dump/scenario_reading.h"

#include <cmath>
#include <utility>

#include "format/binary_format.h"

namespace scenariogen {

namespace {

// Runs a decoder, naming the file in the error it throws.
template <typename Decode>
auto decode_as(FileKind file, Decode decode) {
    try {
        return decode();
    } catch (const DecodeError& error) {
        throw ScenarioDecodeError(file, error.message(), error.offset());
    }
}

// Where entry k's attribute_7 lies in the station table's bytes.
std::size_t attribute_7_offset(const StationTable& table, int k) {
    std::size_t offset = 0;
    for (int i = 0; i < k; ++i) offset += format::kStationFixedSize + table[static_cast<std::size_t>(i)].name.size();
    return offset + format::station::kNome + table[static_cast<std::size_t>(k)].name.size() +
           format::station::kAttributo7;
}

std::size_t encoded_size(const GridValue& v) {
    return 2 + (v.tag == format::grid::kInt16 ? 2 : v.tag == format::grid::kDouble ? 8 : 0);
}

// A compiled plan starts with the 16-bit integers (0, 0) and (0, 1).
void check_grid_start(const GridRecords& records) {
    const auto computed = static_cast<std::size_t>(records.grid.computed_metres);
    if (computed == 0) return;
    const auto starts = [&](std::size_t m, double x, double y) {
        const GridValue& vx = records.x_start[m];
        const GridValue& vy = records.y_start[m];
        return computed > m && vx.tag == format::grid::kInt16 && vx.value == x && vy.tag == format::grid::kInt16 &&
               vy.value == y;
    };
    if (!starts(0, 0, 0) || !starts(1, 0, 1)) {
        throw ScenarioDecodeError(
            FileKind::kGrid, "the plan does not start with the metres (0, 0) and (0, 1) of a compiled scenario", 0);
    }
}

// Where the first coordinate that is not a number lies: found again value by
// value, as it is needed only for the message.
[[noreturn]] void refuse_grid_numbers(std::string_view bytes, std::size_t computed) {
    const DecodedGrid grid = decode_grid(bytes);
    std::size_t y_block = 0;
    for (const GridValue& v : grid.x) y_block += encoded_size(v);
    for (const auto* block : {&grid.x, &grid.y}) {
        std::size_t offset = block == &grid.x ? 0 : y_block;
        for (std::size_t m = 0; m < computed; ++m) {
            if (!std::isfinite((*block)[m].value)) {
                throw ScenarioDecodeError(
                    FileKind::kGrid, "metre " + std::to_string(m) + " holds a coordinate that is not a number", offset);
            }
            offset += encoded_size((*block)[m]);
        }
    }
    throw ScenarioDecodeError(FileKind::kGrid, "a coordinate is not a number", 0);
}

}  // namespace

bool looks_like_station_table(std::string_view bytes) {
    try {
        decode_station_table(bytes);
        return true;
    } catch (const DecodeError&) {
        return false;
    }
}

bool looks_like_grid(std::string_view bytes) {
    static constexpr std::string_view kStart("\x02\x00\x00\x00\x02\x00\x00\x00", 8);
    return bytes.substr(0, kStart.size()) == kStart;
}

constexpr std::size_t kNumberLanes = 8;

// v − v is 0 for a number, and not a number for an infinity or a NaN. The
// eight lanes are kept apart so that the compiler can run them side by side.
bool all_numbers(const double* values, std::size_t count) {
    double lanes[kNumberLanes] = {};
    std::size_t m = 0;
    for (; m + kNumberLanes <= count; m += kNumberLanes) {
        for (std::size_t k = 0; k < kNumberLanes; ++k) lanes[k] += values[m + k] - values[m + k];
    }
    double sum = 0;
    for (; m < count; ++m) sum += values[m] - values[m];
    for (const double lane : lanes) sum += lane;
    return sum == 0;
}

bool only_a_name(const StationEntry& v) {
    return v.kind == 0 && v.start == 0 && v.end == 0 && v.position == 0 && v.time == 0;
}

TableHeader read_table_header(const StationTable& table) {
    TableHeader h;
    for (int k = kProgressiveThreeEntry; k <= kProgressiveOneEntry; ++k) {
        const StationEntry& v = table[static_cast<std::size_t>(k)];
        h.progressives[static_cast<std::size_t>(k - kProgressiveThreeEntry)] = {
            k, v.start, v.end, v.position == 1, !(v.start == 0 && v.end == 0 && v.position == 0)};
    }
    const StationEntry& train = table[kTrainEntry];
    h.braked_mass_percent = train.start;
    h.route_length_m = train.end;
    h.coaches = train.position;
    const StationEntry& scenario = table[kScenarioEntry];
    h.scenario_name = scenario.name;
    h.background_1 = scenario.start;
    h.background_2 = scenario.position;
    h.background_3 = scenario.end;
    h.header = scenario.attribute_7;
    h.identity_code = scenario.time;
    const StationEntry& signalling = table[kSignallingEntry];
    h.train_number = signalling.name;
    h.repetition_first_m = signalling.start;
    h.repetition_second_m = signalling.end;
    h.repetition_codes = signalling.position;
    h.sand = signalling.attribute_7;
    h.clock_s = signalling.attribute_9 * 3600 + signalling.attribute_10 * 60 + signalling.attribute_11;
    return h;
}

std::size_t computed_metres(const DecodedGrid& grid) {
    std::size_t computed = 0;
    while (computed < grid.x.size() && computed < grid.y.size() && grid.x[computed].tag != format::grid::kEmpty &&
           grid.y[computed].tag != format::grid::kEmpty) {
        ++computed;
    }
    return computed;
}

std::vector<Cell> read_scenario_cells(std::string_view bytes) {
    std::vector<Cell> cells = decode_as(FileKind::kCells, [&] { return decode_cells(bytes); });
    if (cells.size() < kFewestCells) {
        throw ScenarioDecodeError(
            FileKind::kCells,
            "the file ends before cell " + std::to_string(kFewestCells - 1) + ", the last cell of the shortest route",
            bytes.size());
    }
    if (cells[1].value_1 != kCellHeader) {
        throw ScenarioDecodeError(
            FileKind::kCells,
            "cell 1 does not hold the header value " + std::to_string(kCellHeader) + " of a compiled scenario",
            format::kCellSize + format::cell::kValore1);
    }
    return cells;
}

StationTable read_scenario_station_table(std::string_view bytes) {
    StationTable table = decode_as(FileKind::kStationTable, [&] { return decode_station_table(bytes); });
    if (read_table_header(table).header != kTableHeader) {
        throw ScenarioDecodeError(
            FileKind::kStationTable,
            "entry 85 does not hold the header value " + std::to_string(kTableHeader) + " of a compiled scenario",
            attribute_7_offset(table, kScenarioEntry));
    }
    return table;
}

Grid read_scenario_grid(std::string_view bytes) {
    GridRecords records = decode_as(FileKind::kGrid, [&] { return decode_grid_records(bytes); });
    if (records.grid.x.size() < kFewestGridMetres) {
        throw ScenarioDecodeError(FileKind::kGrid,
                                  "the grid ends before metre " + std::to_string(kFewestGridMetres - 1) +
                                      ", the last metre of the shortest route",
                                  bytes.size());
    }
    check_grid_start(records);
    const auto computed = static_cast<std::size_t>(records.grid.computed_metres);
    if (!all_numbers(records.grid.x.data(), computed) || !all_numbers(records.grid.y.data(), computed)) {
        refuse_grid_numbers(bytes, computed);
    }
    return std::move(records.grid);
}

}  // namespace scenariogen
