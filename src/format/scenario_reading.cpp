#include "format/scenario_reading.h"

#include <algorithm>
#include <array>
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
    return offset + format::station::kHeadSize + table[static_cast<std::size_t>(k)].name.size() +
           format::station::kAttribute7.offset;
}

// One coordinate block of a grid file as it is read.
struct BlockReading {
    std::int32_t values = 0;
    std::int32_t computed = -1;         // the metre of the first empty value; -1 until one comes
    std::uint64_t computed_offset = 0;  // where that value stands in the file
    std::array<GridValue, 2> start{};
    std::int32_t not_a_number = -1;  // the first computed metre whose value is not a number
    std::uint64_t not_a_number_offset = 0;

    std::int32_t computed_metres() const { return computed < 0 ? values : computed; }
};

// A grid file read value by value: the values in the file's first half are
// the x block, the rest the y block, and the computed coordinates go to the
// sampler a piece at a time.
class GridFileReading {
public:
    GridFileReading(std::uint64_t size, std::vector<std::int32_t> chosen) : size_(size), sampler_(std::move(chosen)) {
        pending_.reserve(kPiece);
    }

    void read(ByteInput& input) {
        GridValueStream stream(input);
        std::array<GridValue, kPiece> piece;
        while (const std::size_t n = stream.next(piece.data(), piece.size())) {
            for (std::size_t i = 0; i < n; ++i) take(piece[i]);
        }
        flush();
    }

    // Throws ScenarioDecodeError when the file is not a compiled plan.
    PlanSample finish() {
        const BlockReading& x = blocks_[0];
        const BlockReading& y = blocks_[1];
        if ((x.values + y.values) % 2 != 0) fail("the grid holds an odd number of values", size_);
        if (straddles_ || x.values != y.values) {
            fail("the plan's x and y blocks do not take half the file each, as a compiled scenario's do", size_ / 2);
        }
        if (static_cast<std::size_t>(x.values) < format::kFewestGridMetres) {
            fail("the grid ends before metre " + std::to_string(format::kFewestGridMetres - 1) +
                     ", the last metre of the shortest route",
                 size_);
        }
        const std::int32_t computed = std::min(x.computed_metres(), y.computed_metres());
        check_start(computed);
        if (x.computed_metres() != y.computed_metres()) {
            const bool x_longer = x.computed_metres() > y.computed_metres();
            fail("metre " + std::to_string(computed) + " holds " + (x_longer ? "an x but no y" : "a y but no x") +
                     ", where a compiled scenario's plan holds both or neither",
                 (x_longer ? y : x).computed_offset);
        }
        for (const BlockReading* block : {&x, &y}) {
            if (block->not_a_number >= 0 && block->not_a_number < computed) {
                fail("metre " + std::to_string(block->not_a_number) + " holds a coordinate that is not a number",
                     block->not_a_number_offset);
            }
        }
        return sampler_.finish(computed);
    }

private:
    static constexpr std::size_t kPiece = 4096;

    [[noreturn]] static void fail(const std::string& message, std::uint64_t offset) {
        throw ScenarioDecodeError(FileKind::kGrid, message, static_cast<std::size_t>(offset));
    }

    void take(const GridValue& v) {
        const std::size_t bytes = format::grid::value_size(v.tag);
        const std::size_t block = 2 * offset_ < size_ ? 0 : 1;
        if (block == 0 && 2 * (offset_ + bytes) > size_) straddles_ = true;
        if (block != block_) {
            flush();
            block_ = block;
        }
        BlockReading& r = blocks_[block];
        const std::int32_t metre = r.values++;
        if (metre < 2) r.start[static_cast<std::size_t>(metre)] = v;
        if (r.computed < 0) {
            if (v.tag == format::grid::kEmpty) {
                flush();
                r.computed = metre;
                r.computed_offset = offset_;
            } else {
                if (!std::isfinite(v.value) && r.not_a_number < 0) {
                    r.not_a_number = metre;
                    r.not_a_number_offset = offset_;
                }
                if (pending_.empty()) pending_first_ = metre;
                pending_.push_back(v.value);
                if (pending_.size() == kPiece) flush();
            }
        }
        offset_ += bytes;
    }

    // The computed coordinates gathered since the last flush, to the sampler.
    void flush() {
        if (pending_.empty()) return;
        if (block_ == 0) {
            sampler_.add_x(pending_first_, pending_);
        } else {
            sampler_.add_y(pending_first_, pending_);
        }
        pending_.clear();
    }

    // A compiled plan starts with the 16-bit integers (0, 0) and (0, 1).
    void check_start(std::int32_t computed) const {
        if (computed == 0) return;
        const auto starts = [&](std::size_t m, double x, double y) {
            const GridValue& vx = blocks_[0].start[m];
            const GridValue& vy = blocks_[1].start[m];
            return computed > static_cast<std::int32_t>(m) && vx.tag == format::grid::kInt16 && vx.value == x &&
                   vy.tag == format::grid::kInt16 && vy.value == y;
        };
        if (!starts(0, 0, 0) || !starts(1, 0, 1)) {
            fail("the plan does not start with the metres (0, 0) and (0, 1) of a compiled scenario", 0);
        }
    }

    std::uint64_t size_;
    std::uint64_t offset_ = 0;
    bool straddles_ = false;
    std::array<BlockReading, 2> blocks_;
    std::size_t block_ = 0;
    std::vector<double> pending_;
    std::int32_t pending_first_ = 0;  // the metre of pending_'s first value
    PlanSampler sampler_;
};
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
    return v.kind == 0 && v.start == 0 && v.end == 0 && v.position == 0 && v.time == 0 && v.dwell == 0;
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
    if (cells.size() < format::kFewestCells) {
        throw ScenarioDecodeError(FileKind::kCells,
                                  "the file ends before cell " + std::to_string(format::kFewestCells - 1) +
                                      ", the last cell of the shortest route",
                                  bytes.size());
    }
    if (cells[1].value_1 != format::kCellFileHeader) {
        throw ScenarioDecodeError(FileKind::kCells,
                                  "cell 1 does not hold the header value " + std::to_string(format::kCellFileHeader) +
                                      " of a compiled scenario",
                                  format::kCellSize + format::cell::kValue1.offset);
    }
    return cells;
}

StationTable read_scenario_station_table(std::string_view bytes) {
    StationTable table = decode_as(FileKind::kStationTable, [&] { return decode_station_table(bytes); });
    if (read_table_header(table).header != format::kStationTableHeader) {
        throw ScenarioDecodeError(FileKind::kStationTable,
                                  "entry 85 does not hold the header value " +
                                      std::to_string(format::kStationTableHeader) + " of a compiled scenario",
                                  attribute_7_offset(table, kScenarioEntry));
    }
    return table;
}

PlanSample read_scenario_plan(ByteInput& grid, std::uint64_t size, std::vector<std::int32_t> chosen) {
    GridFileReading reading(size, std::move(chosen));
    decode_as(FileKind::kGrid, [&] { return reading.read(grid); });
    return reading.finish();
}

}  // namespace scenariogen
