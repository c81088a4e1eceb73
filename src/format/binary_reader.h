// Decodes the three binary files back into records: one reader for every
// consumer (inspection, pictures, tests).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "format/records.h"
#include "platform/file_system.h"

namespace scenariogen {

// A file that does not hold what its layout says: what is wrong, and the
// first byte that does not fit. The two stay apart; whoever prints the error
// puts them into words (what() is the message alone).
class DecodeError : public std::runtime_error {
public:
    DecodeError(const std::string& message, std::size_t offset) : std::runtime_error(message), offset_(offset) {}
    std::string message() const { return what(); }
    std::size_t offset() const { return offset_; }

private:
    std::size_t offset_;
};

std::vector<Cell> decode_cells(std::string_view bytes);
StationTable decode_station_table(std::string_view bytes);

// One element of the grid file.
struct GridValue {
    std::uint16_t tag = 0;  // empty, 16-bit integer or double
    double value = 0;
};
struct DecodedGrid {
    std::vector<GridValue> x;  // metres 0 to G
    std::vector<GridValue> y;
};
DecodedGrid decode_grid(std::string_view bytes);

// The values of a grid file in order, decoded from its bytes a piece at a
// time, so that a grid of a million metres never needs to be in memory
// whole. Throws DecodeError where the bytes stop making sense, with the
// offset from the file's start.
class GridValueStream {
public:
    explicit GridValueStream(ByteInput& input);
    // The next values, at most `most`, into `out`; 0 at the end.
    std::size_t next(GridValue* out, std::size_t most);

private:
    static constexpr std::size_t kBufferSize = std::size_t{1} << 18;
    void refill();
    void need(std::size_t at, std::size_t n, const char* what) const;
    GridValue decode_one();

    ByteInput& input_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;  // the next value's first byte in the buffer
    std::size_t end_ = 0;
    std::uint64_t base_ = 0;  // the offset in the file of the buffer's first byte
    bool at_end_of_input_ = false;
};

}  // namespace scenariogen
