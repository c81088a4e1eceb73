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

void put_cell(ByteSink& sink, const cella_percorso& c) {
    sink.u8(c.tipo);
    sink.u8(c.riservato);
    sink.i16(c.valore_1);
    sink.i16(c.valore_2);
    sink.i16(c.valore_3);
    sink.i16(c.valore_4);
    sink.u8(c.tempo_segnale);
    sink.u8(c.preavviso);
    sink.u8(c.montagna);
    sink.u8(c.velocita_limite);
    sink.u8(c.pendenza);
    sink.u8(c.aderenza);
}

void put_station(ByteSink& sink, const voce_stazione& v) {
    sink.u8(v.tipo);
    sink.i32(v.inizio);
    sink.i32(v.fine);
    sink.i32(v.posizione);
    sink.u8(v.attributo_5);
    // The length prefix is 16 bits; the readers refuse longer names, so the
    // clamp only keeps prefix and bytes consistent.
    const std::size_t length = std::min<std::size_t>(v.nome.size(), 0xFFFF);
    sink.u16(static_cast<std::uint16_t>(length));
    sink.bytes(std::string_view(v.nome).substr(0, length));
    sink.i16(v.attributo_7);
    sink.i16(v.attributo_8);
    sink.i16(v.attributo_9);
    sink.i16(v.attributo_10);
    sink.i16(v.attributo_11);
    sink.u8(v.attributo_12);
    sink.u8(v.sosta);
    sink.u8(v.attributo_14);
    sink.u8(v.attributo_15);
    sink.i32(v.orario);
}

void put_coordinate(ByteSink& sink, const griglia_t& g, const coordinate_t& values) {
    const std::int32_t interi = std::min(g.metri_calcolati, 2);
    for (std::int32_t metro = 0; metro < interi; ++metro) {
        sink.u16(format::grid::kInt16);
        sink.i16(static_cast<std::int16_t>(values[static_cast<std::size_t>(metro)]));
    }
    if (g.metri_calcolati > interi) {
        sink.tagged_doubles(format::grid::kDouble, values.data() + interi,
                            static_cast<std::size_t>(g.metri_calcolati - interi));
    }
    for (std::int32_t metro = g.metri_calcolati; metro <= g.ultimo_metro; ++metro) sink.u16(format::grid::kEmpty);
}

}  // namespace

void write_cells(const std::vector<cella_percorso>& percorso, ByteOutput& out) {
    ByteSink sink(out);
    for (const auto& cella : percorso) put_cell(sink, cella);
    sink.flush();
}

void write_station_table(const tabella_stazioni_t& tabella, ByteOutput& out) {
    ByteSink sink(out);
    for (const auto& voce : tabella) put_station(sink, voce);
    sink.flush();
}

void write_grid(const griglia_t& griglia, ByteOutput& out) {
    if (!griglia.dimensionata()) return;
    ByteSink sink(out);
    put_coordinate(sink, griglia, griglia.x);
    put_coordinate(sink, griglia, griglia.y);
    sink.flush();
}

std::string encode_cells(const std::vector<cella_percorso>& percorso) {
    StringOutput out;
    write_cells(percorso, out);
    return std::move(out.text());
}

std::string encode_station_table(const tabella_stazioni_t& tabella) {
    StringOutput out;
    write_station_table(tabella, out);
    return std::move(out.text());
}

std::string encode_grid(const griglia_t& griglia) {
    StringOutput out;
    write_grid(griglia, out);
    return std::move(out.text());
}

}  // namespace scenariogen
