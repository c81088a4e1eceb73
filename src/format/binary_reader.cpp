#include "format/binary_reader.h"

#include <algorithm>
#include <bit>

#include "format/binary_format.h"
#include "format/little_endian.h"

namespace scenariogen {

namespace {

// The bytes of a file, taken a record or a part of one at a time.
class RecordSource {
public:
    explicit RecordSource(std::string_view bytes) : bytes_(bytes) {}

    std::size_t offset() const { return pos_; }
    bool at_end() const { return pos_ == bytes_.size(); }

    // The next part of a record, laid out in `fields` (in order, covering
    // `size` bytes). When the file ends inside it, the fault names the
    // first member that the file does not hold whole.
    const char* part(std::size_t size, std::initializer_list<format::Field> fields, const char* what) {
        if (bytes_.size() - pos_ < size) {
            std::size_t missing = pos_;
            for (const format::Field& f : fields) {
                if (f.end() > bytes_.size() - pos_) {
                    missing = pos_ + f.offset;
                    break;
                }
            }
            throw DecodeError(std::string("the file ends inside ") + what, missing);
        }
        const char* p = bytes_.data() + pos_;
        pos_ += size;
        return p;
    }
    std::string text(std::size_t n, const char* what) { return std::string(part(n, {format::Field{0, n}}, what), n); }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

Cell cell_from(const char* r) {
    using namespace format::cell;
    using format::load_field;
    Cell c;
    c.kind = load_field<kKind, std::uint8_t>(r);
    c.reserved = load_field<kReserved, std::uint8_t>(r);
    c.value_1 = load_field<kValue1, std::int16_t>(r);
    c.value_2 = load_field<kValue2, std::int16_t>(r);
    c.value_3 = load_field<kValue3, std::int16_t>(r);
    c.value_4 = load_field<kValue4, std::int16_t>(r);
    c.signal_time = load_field<kSignalTime, std::uint8_t>(r);
    c.approach_marker = load_field<kApproachMarker, std::uint8_t>(r);
    c.mountain_kind = load_field<kMountainKind, std::uint8_t>(r);
    c.speed_limit = load_field<kSpeedLimit, std::uint8_t>(r);
    c.gradient = load_field<kGradient, std::uint8_t>(r);
    c.adhesion = load_field<kAdhesion, std::uint8_t>(r);
    return c;
}

// One station record: its head, its name and its tail.
StationEntry station_from(RecordSource& in) {
    using namespace format::station;
    using format::load_field;
    constexpr const char* kRecord = "a station record";
    StationEntry v;
    const char* head = in.part(kHeadSize, {kKind, kStart, kEnd, kPosition, kAttribute5, kNameLength}, kRecord);
    v.kind = load_field<kKind, std::uint8_t>(head);
    v.start = load_field<kStart, std::int32_t>(head);
    v.end = load_field<kEnd, std::int32_t>(head);
    v.position = load_field<kPosition, std::int32_t>(head);
    v.attribute_5 = load_field<kAttribute5, std::uint8_t>(head);
    v.name = in.text(load_field<kNameLength, std::uint16_t>(head), "a station name");
    const char* tail = in.part(kTailSize,
                               {kAttribute7, kAttribute8, kAttribute9, kAttribute10, kAttribute11, kAttribute12, kDwell,
                                kAttribute14, kAttribute15, kTime},
                               kRecord);
    v.attribute_7 = load_field<kAttribute7, std::int16_t>(tail);
    v.attribute_8 = load_field<kAttribute8, std::int16_t>(tail);
    v.attribute_9 = load_field<kAttribute9, std::int16_t>(tail);
    v.attribute_10 = load_field<kAttribute10, std::int16_t>(tail);
    v.attribute_11 = load_field<kAttribute11, std::int16_t>(tail);
    v.attribute_12 = load_field<kAttribute12, std::uint8_t>(tail);
    v.dwell = load_field<kDwell, std::uint8_t>(tail);
    v.attribute_14 = load_field<kAttribute14, std::uint8_t>(tail);
    v.attribute_15 = load_field<kAttribute15, std::uint8_t>(tail);
    v.time = load_field<kTime, std::int32_t>(tail);
    return v;
}

}  // namespace

std::vector<Cell> decode_cells(std::string_view bytes) {
    if (bytes.size() % format::kCellSize != 0) {
        throw DecodeError("the cell file's size is not a multiple of 16 bytes; the last cell is cut short",
                          bytes.size() - bytes.size() % format::kCellSize);
    }
    std::vector<Cell> cells;
    cells.reserve(bytes.size() / format::kCellSize);
    for (std::size_t at = 0; at < bytes.size(); at += format::kCellSize) cells.push_back(cell_from(bytes.data() + at));
    return cells;
}

StationTable decode_station_table(std::string_view bytes) {
    StationTable table{};
    RecordSource in(bytes);
    for (auto& v : table) v = station_from(in);
    if (!in.at_end()) throw DecodeError("bytes follow the 87th station record", in.offset());
    return table;
}

GridValueStream::GridValueStream(ByteInput& input) : input_(input), buffer_(kBufferSize) {}

void GridValueStream::refill() {
    std::copy(buffer_.data() + begin_, buffer_.data() + end_, buffer_.data());
    base_ += begin_;
    end_ -= begin_;
    begin_ = 0;
    while (!at_end_of_input_ && end_ < format::grid::kDoubleSize) {
        const std::size_t got = input_.read(buffer_.data() + end_, buffer_.size() - end_);
        at_end_of_input_ = got == 0;
        end_ += got;
    }
}

void GridValueStream::need(std::size_t at, std::size_t n, const char* what) const {
    if (end_ - at < n) throw DecodeError(std::string("the file ends inside ") + what, base_ + at);
}

GridValue GridValueStream::decode_one() {
    using namespace format::grid;
    need(begin_, kTagSize, "a grid value's tag");
    const char* p = buffer_.data() + begin_;
    GridValue v;
    v.tag = static_cast<std::uint16_t>(format::load_le(p, kTagSize));
    if (v.tag == kDouble) {
        need(begin_ + kTagSize, kDoubleSize - kTagSize, "a double grid value");
        v.value = std::bit_cast<double>(format::load_le(p + kTagSize, 8));
    } else if (v.tag == kInt16) {
        need(begin_ + kTagSize, kInt16Size - kTagSize, "a 16-bit grid value");
        v.value = static_cast<std::int16_t>(format::load_le(p + kTagSize, 2));
    } else if (v.tag != format::grid::kEmpty) {
        throw DecodeError("unknown grid value tag " + std::to_string(v.tag), base_ + begin_);
    }
    begin_ += format::grid::value_size(v.tag);
    return v;
}

std::size_t GridValueStream::next(GridValue* out, std::size_t most) {
    std::size_t n = 0;
    while (n < most) {
        if (end_ - begin_ < format::grid::kDoubleSize && !at_end_of_input_) refill();
        if (begin_ == end_) break;
        // While a whole value of any kind stands in the buffer, only its tag
        // needs a look; most values are doubles.
        while (n < most && end_ - begin_ >= format::grid::kDoubleSize) {
            const char* p = buffer_.data() + begin_;
            if (format::load_le(p, format::grid::kTagSize) != format::grid::kDouble) {
                out[n++] = decode_one();
                continue;
            }
            out[n++] = {format::grid::kDouble, std::bit_cast<double>(format::load_le(p + format::grid::kTagSize, 8))};
            begin_ += format::grid::kDoubleSize;
        }
        if (at_end_of_input_) {
            while (n < most && begin_ < end_) out[n++] = decode_one();
        }
    }
    return n;
}

DecodedGrid decode_grid(std::string_view bytes) {
    StringInput input(bytes);
    GridValueStream stream(input);
    std::vector<GridValue> values;
    values.reserve(bytes.size() / format::grid::kDoubleSize);
    std::array<GridValue, 1024> piece;
    while (const std::size_t n = stream.next(piece.data(), piece.size())) {
        values.insert(values.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(n));
    }
    if (values.size() % 2 != 0) throw DecodeError("the grid holds an odd number of values", bytes.size());
    const auto half = static_cast<std::ptrdiff_t>(values.size() / 2);
    DecodedGrid grid;
    grid.x.assign(values.begin(), values.begin() + half);
    grid.y.assign(values.begin() + half, values.end());
    return grid;
}

}  // namespace scenariogen
