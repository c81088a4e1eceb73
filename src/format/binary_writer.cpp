#include "format/binary_writer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>
#include <vector>

#include "format/binary_format.h"
#include "format/grid_writer.h"

namespace scenariogen {

namespace {

// Little-endian values, whatever the host's byte order, gathered in a small
// buffer and handed on in pieces.
class ByteSink {
public:
    explicit ByteSink(ByteOutput& out) : out_(out) {}
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;

    void u8(std::uint8_t v) { unsigned_le(v, 1); }
    void u16(std::uint16_t v) { unsigned_le(v, 2); }
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void i32(std::int32_t v) { unsigned_le(static_cast<std::uint32_t>(v), 4); }
    void f64(double v) { unsigned_le(std::bit_cast<std::uint64_t>(v), 8); }
    void bytes(std::string_view s) {
        flush();
        out_.write(s);
    }
    void flush() {
        out_.write(std::string_view(buffer_.data(), used_));
        used_ = 0;
    }

private:
    void unsigned_le(std::uint64_t v, int count) {
        if (used_ + 8 > buffer_.size()) flush();
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(buffer_.data() + used_, &v, 8);  // the low `count` bytes are the value's
            used_ += static_cast<std::size_t>(count);
        } else {
            for (int i = 0; i < count; ++i) buffer_[used_++] = static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    }
    ByteOutput& out_;
    std::vector<char, uninitialised_allocator<char>> buffer_ =
        std::vector<char, uninitialised_allocator<char>>(std::size_t{1} << 20);  // a megabyte a write
    std::size_t used_ = 0;
};

void put_cell(ByteSink& sink, const Cell& c) {
    sink.u8(c.kind);
    sink.u8(c.reserved);
    sink.i16(c.value_1);
    sink.i16(c.value_2);
    sink.i16(c.value_3);
    sink.i16(c.value_4);
    sink.u8(c.signal_time);
    sink.u8(c.approach_marker);
    sink.u8(c.mountain_kind);
    sink.u8(c.speed_limit);
    sink.u8(c.gradient);
    sink.u8(c.adhesion);
}

void put_station(ByteSink& sink, const StationEntry& v) {
    sink.u8(v.kind);
    sink.i32(v.start);
    sink.i32(v.end);
    sink.i32(v.position);
    sink.u8(v.attribute_5);
    // The length prefix is 16 bits; the readers refuse longer names, so the
    // clamp only keeps prefix and bytes consistent.
    const std::size_t length = std::min<std::size_t>(v.name.size(), 0xFFFF);
    sink.u16(static_cast<std::uint16_t>(length));
    sink.bytes(std::string_view(v.name).substr(0, length));
    sink.i16(v.attribute_7);
    sink.i16(v.attribute_8);
    sink.i16(v.attribute_9);
    sink.i16(v.attribute_10);
    sink.i16(v.attribute_11);
    sink.u8(v.attribute_12);
    sink.u8(v.dwell);
    sink.u8(v.attribute_14);
    sink.u8(v.attribute_15);
    sink.i32(v.time);
}

}  // namespace

void write_cells(const std::vector<Cell>& cells, ByteOutput& out) {
    ByteSink sink(out);
    for (const auto& cell : cells) put_cell(sink, cell);
    sink.flush();
}

void write_station_table(const StationTable& table, ByteOutput& out) {
    ByteSink sink(out);
    for (const auto& entry : table) put_station(sink, entry);
    sink.flush();
}

std::string encode_cells(const std::vector<Cell>& cells) {
    StringOutput out;
    write_cells(cells, out);
    return std::move(out.text());
}

std::string encode_station_table(const StationTable& table) {
    StringOutput out;
    write_station_table(table, out);
    return std::move(out.text());
}

std::string encode_grid(const Grid& grid) {
    StoredCoordinates coordinates(grid);
    const GridContent content{grid.last_metre, grid.computed_metres, &coordinates};
    PositionedStringOutput out(static_cast<std::size_t>(grid_file_size(content)));
    write_grid(content, out);
    return std::move(out.text());
}

}  // namespace scenariogen
