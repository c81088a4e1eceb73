#include "format/binary_reader.h"

#include <bit>

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
    std::vector<GridValue> values;
    ByteSource in(bytes);
    while (!in.at_end()) {
        const std::size_t at = in.offset();
        GridValue v;
        v.tag = in.u16("a grid value's tag");
        if (v.tag == format::grid::kInt16) {
            v.value = in.i16("a 16-bit grid value");
        } else if (v.tag == format::grid::kDouble) {
            v.value = in.f64("a double grid value");
        } else if (v.tag != format::grid::kEmpty) {
            throw DecodeError("unknown grid value tag " + std::to_string(v.tag), at);
        }
        values.push_back(v);
    }
    if (values.size() % 2 != 0) throw DecodeError("the grid holds an odd number of values", bytes.size());
    DecodedGrid grid;
    const auto half = static_cast<std::ptrdiff_t>(values.size() / 2);
    grid.x.assign(values.begin(), values.begin() + half);
    grid.y.assign(values.begin() + half, values.end());
    return grid;
}

}  // namespace scenariogen
