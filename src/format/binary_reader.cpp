#include "format/binary_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>

#include "format/binary_format.h"

namespace scenariogen {

namespace {

// Reads little-endian values, refusing to read past the end.
class ByteSource {
public:
    explicit ByteSource(std::string_view bytes) : bytes_(bytes) {}

    std::size_t offset() const { return pos_; }
    bool at_end() const { return pos_ == bytes_.size(); }

    std::uint8_t u8(const char* what) { return static_cast<std::uint8_t>(unsigned_le(1, what)); }
    std::uint16_t u16(const char* what) { return static_cast<std::uint16_t>(unsigned_le(2, what)); }
    std::int16_t i16(const char* what) { return static_cast<std::int16_t>(u16(what)); }
    std::int32_t i32(const char* what) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(unsigned_le(4, what)));
    }
    double f64(const char* what) { return std::bit_cast<double>(unsigned_le(8, what)); }
    std::string text(std::size_t n, const char* what) {
        need(n, what);
        std::string s(bytes_.substr(pos_, n));
        pos_ += n;
        return s;
    }

private:
    void need(std::size_t n, const char* what) const {
        if (bytes_.size() - pos_ < n) throw DecodeError(std::string("the file ends inside ") + what, pos_);
    }
    std::uint64_t unsigned_le(std::size_t n, const char* what) {
        need(n, what);
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < n; ++i) {
            v |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
        }
        pos_ += n;
        return v;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// N bytes as a little-endian unsigned integer: on a little-endian machine a
// plain load, which the grid's two million values want.
template <std::size_t N>
std::uint64_t little_endian(const unsigned char* p) {
    if constexpr (std::endian::native == std::endian::little) {
        std::conditional_t<N == 2, std::uint16_t, std::uint64_t> v;
        static_assert(sizeof v == N);
        std::memcpy(&v, p, N);
        return v;
    } else {
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < N; ++i) v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
        return v;
    }
}

// Reads the values of a grid file one after the other, in one tight loop: a
// grid holds up to two million values. The checked reading throws
// DecodeError where the bytes stop making sense; the unchecked one is for
// bytes that a checked reading went through already.
class GridCursor {
public:
    explicit GridCursor(std::string_view bytes)
        : p_(reinterpret_cast<const unsigned char*>(bytes.data())), size_(bytes.size()) {}

    bool at_end() const { return pos_ == size_; }

    template <bool kChecked>
    GridValue next() {
        if constexpr (kChecked) need(2, "a grid value's tag");
        GridValue v;
        v.tag = static_cast<std::uint16_t>(little_endian<2>(p_ + pos_));
        pos_ += 2;
        if (v.tag == format::grid::kDouble) {
            if constexpr (kChecked) need(8, "a double grid value");
            v.value = std::bit_cast<double>(little_endian<8>(p_ + pos_));
            pos_ += 8;
        } else if (v.tag == format::grid::kInt16) {
            if constexpr (kChecked) need(2, "a 16-bit grid value");
            v.value = static_cast<std::int16_t>(little_endian<2>(p_ + pos_));
            pos_ += 2;
        } else if (kChecked && v.tag != format::grid::kEmpty) {
            throw DecodeError("unknown grid value tag " + std::to_string(v.tag), pos_ - 2);
        }
        return v;
    }

private:
    void need(std::size_t n, const char* what) const {
        if (size_ - pos_ < n) throw DecodeError(std::string("the file ends inside ") + what, pos_);
    }

    const unsigned char* p_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// How many values a grid file holds, all checked.
std::size_t count_grid_values(std::string_view bytes) {
    GridCursor in(bytes);
    std::size_t count = 0;
    for (; !in.at_end(); ++count) in.next<true>();
    if (count % 2 != 0) throw DecodeError("the grid holds an odd number of values", bytes.size());
    return count;
}

// The next `count` values into `values`; returns the index of the first
// empty one (count when none is).
std::size_t read_block(GridCursor& in, std::size_t count, double* values, std::array<GridValue, 2>& start) {
    std::size_t first_empty = count;
    for (std::size_t m = 0; m < count; ++m) {
        const GridValue v = in.next<false>();
        values[m] = v.value;
        if (v.tag == format::grid::kEmpty && first_empty == count) first_empty = m;
        if (m < start.size()) start[m] = v;
    }
    return first_empty;
}

}  // namespace

std::vector<Cell> decode_cells(std::string_view bytes) {
    if (bytes.size() % format::kCellSize != 0) {
        throw DecodeError("the cell file's size is not a multiple of 16 bytes; the last cell is cut short",
                          bytes.size() - bytes.size() % format::kCellSize);
    }
    std::vector<Cell> cells;
    cells.reserve(bytes.size() / format::kCellSize);
    ByteSource in(bytes);
    while (!in.at_end()) {
        Cell c;
        c.kind = in.u8("a cell");
        c.reserved = in.u8("a cell");
        c.value_1 = in.i16("a cell");
        c.value_2 = in.i16("a cell");
        c.value_3 = in.i16("a cell");
        c.value_4 = in.i16("a cell");
        c.signal_time = in.u8("a cell");
        c.approach_marker = in.u8("a cell");
        c.mountain_kind = in.u8("a cell");
        c.speed_limit = in.u8("a cell");
        c.gradient = in.u8("a cell");
        c.adhesion = in.u8("a cell");
        cells.push_back(c);
    }
    return cells;
}

StationTable decode_station_table(std::string_view bytes) {
    StationTable table{};
    ByteSource in(bytes);
    for (auto& v : table) {
        v.kind = in.u8("a station record");
        v.start = in.i32("a station record");
        v.end = in.i32("a station record");
        v.position = in.i32("a station record");
        v.attribute_5 = in.u8("a station record");
        v.name = in.text(in.u16("a station record"), "a station name");
        v.attribute_7 = in.i16("a station record");
        v.attribute_8 = in.i16("a station record");
        v.attribute_9 = in.i16("a station record");
        v.attribute_10 = in.i16("a station record");
        v.attribute_11 = in.i16("a station record");
        v.attribute_12 = in.u8("a station record");
        v.dwell = in.u8("a station record");
        v.attribute_14 = in.u8("a station record");
        v.attribute_15 = in.u8("a station record");
        v.time = in.i32("a station record");
    }
    if (!in.at_end()) throw DecodeError("bytes follow the 87th station record", in.offset());
    return table;
}

DecodedGrid decode_grid(std::string_view bytes) {
    const std::size_t half = count_grid_values(bytes) / 2;
    GridCursor in(bytes);
    DecodedGrid grid;
    grid.x.reserve(half);
    grid.y.reserve(half);
    for (std::size_t m = 0; m < half; ++m) grid.x.push_back(in.next<false>());
    for (std::size_t m = 0; m < half; ++m) grid.y.push_back(in.next<false>());
    return grid;
}

GridRecords decode_grid_records(std::string_view bytes) {
    const std::size_t half = count_grid_values(bytes) / 2;
    GridRecords records;
    Grid& grid = records.grid;
    grid.set_size(static_cast<std::int32_t>(half) - 1);
    GridCursor in(bytes);
    const std::size_t x_computed = read_block(in, half, grid.x.data(), records.x_start);
    const std::size_t y_computed = read_block(in, half, grid.y.data(), records.y_start);
    grid.computed_metres = static_cast<std::int32_t>(std::min(x_computed, y_computed));
    return records;
}

}  // namespace scenariogen
