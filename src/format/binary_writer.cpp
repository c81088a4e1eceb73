#include "format/binary_writer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>
#include <vector>

#include "format/binary_format.h"

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
    // A 16-bit tag and a double for each of `n` values: the grid's ten bytes
    // per computed metre, a buffer's worth at a time.
    void tagged_doubles(std::uint16_t tag, const double* v, std::size_t n) {
        if constexpr (std::endian::native != std::endian::little) {
            for (std::size_t i = 0; i < n; ++i) {
                u16(tag);
                f64(v[i]);
            }
            return;
        }
        while (n > 0) {
            const std::size_t room = (buffer_.size() - used_) / 10;
            if (room == 0) {
                flush();
                continue;
            }
            const std::size_t k = std::min(room, n);
            char* p = buffer_.data() + used_;
            for (std::size_t i = 0; i < k; ++i, p += 10) {
                std::memcpy(p, &tag, 2);
                std::memcpy(p + 2, v + i, 8);
            }
            used_ += k * 10;
            v += k;
            n -= k;
        }
    }
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

void put_coordinate(ByteSink& sink, const Grid& g, const Coordinates& values) {
    const std::int32_t interi = std::min(g.computed_metres, 2);
    for (std::int32_t metre = 0; metre < interi; ++metre) {
        sink.u16(format::grid::kInt16);
        sink.i16(static_cast<std::int16_t>(values[static_cast<std::size_t>(metre)]));
    }
    if (g.computed_metres > interi) {
        sink.tagged_doubles(format::grid::kDouble, values.data() + interi,
                            static_cast<std::size_t>(g.computed_metres - interi));
    }
    for (std::int32_t metre = g.computed_metres; metre <= g.last_metre; ++metre) sink.u16(format::grid::kEmpty);
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

void write_grid(const Grid& grid, ByteOutput& out) {
    if (!grid.has_size()) return;
    ByteSink sink(out);
    put_coordinate(sink, grid, grid.x);
    put_coordinate(sink, grid, grid.y);
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
    StringOutput out;
    write_grid(grid, out);
    return std::move(out.text());
}

}  // namespace scenariogen
