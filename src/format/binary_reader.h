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

// The grid file straight into the records, for readers of large grids:
// every metre's x and y (0 where the value is empty), and computed_metres
// counting the metres from 0 on whose x and y both hold a value. Metres 0
// and 1 are also kept as stored, tag and value (empty where the grid is
// shorter). Throws DecodeError as decode_grid does.
struct GridRecords {
    Grid grid;
    std::array<GridValue, 2> x_start{};
    std::array<GridValue, 2> y_start{};
};
GridRecords decode_grid_records(std::string_view bytes);

}  // namespace scenariogen
