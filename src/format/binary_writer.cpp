#include "format/binary_writer.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "format/binary_format.h"
#include "format/grid_writer.h"
#include "format/little_endian.h"

namespace scenariogen {

namespace {

// Records gathered in a small buffer and handed on in pieces.
class ByteSink {
public:
    explicit ByteSink(ByteOutput& out) : out_(out) {}
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;

    // Room for the next `size` bytes (at most the buffer's), taken.
    char* record(std::size_t size) {
        if (used_ + size > buffer_.size()) flush();
        char* p = buffer_.data() + used_;
        used_ += size;
        return p;
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
    ByteOutput& out_;
    std::vector<char, uninitialised_allocator<char>> buffer_ =
        std::vector<char, uninitialised_allocator<char>>(std::size_t{1} << 20);  // a megabyte a write
    std::size_t used_ = 0;
};

void put_cell(ByteSink& sink, const Cell& c) {
    using namespace format::cell;
    char* r = sink.record(kSize);
    format::store_field<kKind>(r, c.kind);
    format::store_field<kReserved>(r, c.reserved);
    format::store_field<kValue1>(r, c.value_1);
    format::store_field<kValue2>(r, c.value_2);
    format::store_field<kValue3>(r, c.value_3);
    format::store_field<kValue4>(r, c.value_4);
    format::store_field<kSignalTime>(r, c.signal_time);
    format::store_field<kApproachMarker>(r, c.approach_marker);
    format::store_field<kMountainKind>(r, c.mountain_kind);
    format::store_field<kSpeedLimit>(r, c.speed_limit);
    format::store_field<kGradient>(r, c.gradient);
    format::store_field<kAdhesion>(r, c.adhesion);
}

void put_station(ByteSink& sink, const StationEntry& v) {
    using namespace format::station;
    // The readers refuse longer names, so the clamp only keeps the length
    // and the bytes consistent.
    const std::size_t length = std::min(v.name.size(), kLongestName);
    char* head = sink.record(kHeadSize);
    format::store_field<kKind>(head, v.kind);
    format::store_field<kStart>(head, v.start);
    format::store_field<kEnd>(head, v.end);
    format::store_field<kPosition>(head, v.position);
    format::store_field<kAttribute5>(head, v.attribute_5);
    format::store_field<kNameLength>(head, static_cast<std::uint16_t>(length));
    sink.bytes(std::string_view(v.name).substr(0, length));
    char* tail = sink.record(kTailSize);
    format::store_field<kAttribute7>(tail, v.attribute_7);
    format::store_field<kAttribute8>(tail, v.attribute_8);
    format::store_field<kAttribute9>(tail, v.attribute_9);
    format::store_field<kAttribute10>(tail, v.attribute_10);
    format::store_field<kAttribute11>(tail, v.attribute_11);
    format::store_field<kAttribute12>(tail, v.attribute_12);
    format::store_field<kDwell>(tail, v.dwell);
    format::store_field<kAttribute14>(tail, v.attribute_14);
    format::store_field<kAttribute15>(tail, v.attribute_15);
    format::store_field<kTime>(tail, v.time);
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
