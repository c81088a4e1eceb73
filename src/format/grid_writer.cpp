#include "format/grid_writer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "format/binary_format.h"
#include "platform/uninitialised_allocator.h"

namespace scenariogen {

namespace {

using format::grid::kEmptySize;
using format::grid::kInt16Size;
using format::grid::kIntegerMetres;
// Metres taken from the source at a time, and the bytes of each block
// gathered before they are written in one call.
constexpr std::size_t kPieceMetres = 4096;
constexpr std::size_t kBlockBuffer = std::size_t{1} << 17;

struct BlockLayout {
    std::size_t integers = 0;  // metres 0 and 1, when computed
    std::size_t doubles = 0;   // the other computed metres
    std::size_t empties = 0;   // the metres after them, up to G
    std::uint64_t bytes() const { return integers * kInt16Size + doubles * kGridDoubleSize + empties * kEmptySize; }
};

BlockLayout layout_of(const GridContent& grid) {
    if (grid.last_metre < 0) return {};
    const auto metres = static_cast<std::size_t>(grid.last_metre) + 1;
    const auto computed = std::min(static_cast<std::size_t>(std::max(grid.computed_metres, 0)), metres);
    const std::size_t integers = std::min(computed, kIntegerMetres);
    return {integers, computed - integers, metres - computed};
}

// One coordinate's block: its bytes gathered and written at their offset.
class Block {
public:
    Block(PositionedOutput& out, std::uint64_t offset) : out_(out), offset_(offset) {}
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    void integers(const double* v, std::size_t n) {
        char* p = room(n * kInt16Size);
        for (std::size_t i = 0; i < n; ++i, p += kInt16Size) {
            format::store_le(p, format::grid::kInt16, format::grid::kTagSize);
            format::store_le(p + format::grid::kTagSize, static_cast<std::uint16_t>(static_cast<std::int16_t>(v[i])),
                             2);
        }
        used_ += n * kInt16Size;
    }
    // Room for `count` values of kGridDoubleSize bytes, taken.
    char* doubles(std::size_t count) {
        char* p = room(count * kGridDoubleSize);
        used_ += count * kGridDoubleSize;
        return p;
    }
    void empties(std::size_t n) {
        static_assert(format::grid::kEmpty == 0);
        while (n > 0) {
            const std::size_t k = std::min(n, buffer_.size() / kEmptySize);
            std::memset(room(k * kEmptySize), 0, k * kEmptySize);
            used_ += k * kEmptySize;
            n -= k;
        }
    }
    void flush() {
        if (used_ == 0) return;
        out_.write_at(offset_, std::string_view(buffer_.data(), used_));
        offset_ += used_;
        used_ = 0;
    }

private:
    // Room for `bytes` more bytes (at most the buffer's size).
    char* room(std::size_t bytes) {
        if (used_ + bytes > buffer_.size()) flush();
        return buffer_.data() + used_;
    }

    PositionedOutput& out_;
    std::uint64_t offset_;
    std::vector<char, uninitialised_allocator<char>> buffer_ =
        std::vector<char, uninitialised_allocator<char>>(kBlockBuffer);
    std::size_t used_ = 0;
};

// The computed metres into both blocks: metres 0 and 1 as integers, then
// the doubles a piece at a time.
void write_computed(const BlockLayout& layout, CoordinateSource& source, Block& x, Block& y) {
    for (std::size_t metre = 0; metre < layout.integers;) {
        const CoordinateSource::Piece piece = source.next(layout.integers - metre);
        if (piece.count == 0) throw std::logic_error("the grid's coordinates end before its computed metres");
        const std::size_t n = std::min(piece.count, layout.integers - metre);
        x.integers(piece.x, n);
        y.integers(piece.y, n);
        metre += n;
    }
    for (std::size_t done = 0; done < layout.doubles;) {
        const std::size_t n = std::min(kPieceMetres, layout.doubles - done);
        char* xp = x.doubles(n);
        source.put_doubles(xp, y.doubles(n), n);
        done += n;
    }
}

}  // namespace

void CoordinateSource::put_doubles(char* x, char* y, std::size_t count) {
    while (count > 0) {
        const Piece piece = next(count);
        if (piece.count == 0) throw std::logic_error("the grid's coordinates end before its computed metres");
        const std::size_t n = std::min(piece.count, count);
        for (std::size_t i = 0; i < n; ++i) {
            store_grid_double(x + i * kGridDoubleSize, piece.x[i]);
            store_grid_double(y + i * kGridDoubleSize, piece.y[i]);
        }
        x += n * kGridDoubleSize;
        y += n * kGridDoubleSize;
        count -= n;
    }
}

CoordinateSource::Piece StoredCoordinates::next(std::size_t most) {
    const std::size_t size = std::min(grid_.x.size(), grid_.y.size());
    const std::size_t left = metre_ < size ? size - metre_ : 0;
    const Piece piece{grid_.x.data() + metre_, grid_.y.data() + metre_, std::min(most, left)};
    metre_ += piece.count;
    return piece;
}

std::uint64_t grid_file_size(const GridContent& grid) { return 2 * layout_of(grid).bytes(); }

void write_grid(const GridContent& grid, PositionedOutput& out) {
    if (grid.last_metre < 0) return;
    const BlockLayout layout = layout_of(grid);
    Block x(out, 0);
    Block y(out, layout.bytes());
    if (layout.integers > 0) {
        if (grid.coordinates == nullptr) throw std::logic_error("a grid with computed metres needs their coordinates");
        write_computed(layout, *grid.coordinates, x, y);
    }
    x.empties(layout.empties);
    y.empties(layout.empties);
    x.flush();
    y.flush();
}

}  // namespace scenariogen
