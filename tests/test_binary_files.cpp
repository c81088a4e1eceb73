#include <gtest/gtest.h>

#include <functional>

#include "format/binary_reader.h"
#include "format/binary_writer.h"
#include "test_support.h"

namespace scenariogen {
namespace {

TEST(BinaryFiles, CellRecordIsSixteenPackedLittleEndianBytes) {
    Cell c;
    c.kind = 1;
    c.value_1 = 0x1234;
    c.value_2 = -2;
    c.value_3 = 3;
    c.value_4 = 4;
    c.signal_time = 5;
    c.approach_marker = 6;
    c.mountain_kind = 7;
    c.speed_limit = 8;
    c.gradient = 9;
    c.adhesion = 10;
    const std::string bytes = encode_cells({Cell{}, c});
    ASSERT_EQ(bytes.size(), 32u);
    EXPECT_EQ(bytes.substr(0, 16), std::string(16, '\0'));
    const std::string expected("\x01\x00\x34\x12\xFE\xFF\x03\x00\x04\x00\x05\x06\x07\x08\x09\x0A", 16);
    EXPECT_EQ(bytes.substr(16), expected);
}

TEST(BinaryFiles, ClearedStationTableIs87RecordsOf34ZeroBytes) {
    const std::string bytes = encode_station_table(StationTable{});
    EXPECT_EQ(bytes, std::string(87 * 34, '\0'));
}

TEST(BinaryFiles, StationRecordOffsetsFollowTheNameLength) {
    StationTable tabella{};
    StationEntry& v = tabella[1];
    v.kind = 12;
    v.start = -300;
    v.end = 300;
    v.position = 0x01020304;
    v.attribute_5 = 5;
    v.name = "LUVERA";
    v.attribute_7 = 7;
    v.attribute_8 = -8;
    v.attribute_9 = 9;
    v.attribute_10 = 10;
    v.attribute_11 = 11;
    v.attribute_12 = 12;
    v.dwell = 60;
    v.attribute_14 = 14;
    v.attribute_15 = 15;
    v.time = 23580;
    const std::string bytes = encode_station_table(tabella);
    ASSERT_EQ(bytes.size(), 87u * 34 + 6);
    const std::size_t r = 34;  // record 1 follows the empty record 0
    const std::size_t n = 6;
    EXPECT_EQ(testing::little_endian(bytes, r + 0, 1), 12u);
    EXPECT_EQ(static_cast<std::int32_t>(testing::little_endian(bytes, r + 1, 4)), -300);
    EXPECT_EQ(testing::little_endian(bytes, r + 5, 4), 300u);
    EXPECT_EQ(testing::little_endian(bytes, r + 9, 4), 0x01020304u);
    EXPECT_EQ(testing::little_endian(bytes, r + 13, 1), 5u);
    EXPECT_EQ(testing::little_endian(bytes, r + 14, 2), 6u);
    EXPECT_EQ(bytes.substr(r + 16, n), "LUVERA");
    EXPECT_EQ(testing::little_endian(bytes, r + 16 + n, 2), 7u);
    EXPECT_EQ(static_cast<std::int16_t>(testing::little_endian(bytes, r + 18 + n, 2)), -8);
    EXPECT_EQ(testing::little_endian(bytes, r + 20 + n, 2), 9u);
    EXPECT_EQ(testing::little_endian(bytes, r + 22 + n, 2), 10u);
    EXPECT_EQ(testing::little_endian(bytes, r + 24 + n, 2), 11u);
    EXPECT_EQ(testing::little_endian(bytes, r + 26 + n, 1), 12u);
    EXPECT_EQ(testing::little_endian(bytes, r + 27 + n, 1), 60u);
    EXPECT_EQ(testing::little_endian(bytes, r + 28 + n, 1), 14u);
    EXPECT_EQ(testing::little_endian(bytes, r + 29 + n, 1), 15u);
    EXPECT_EQ(testing::little_endian(bytes, r + 30 + n, 4), 23580u);
    EXPECT_EQ(decode_station_table(bytes)[1].name, "LUVERA");
}

TEST(BinaryFiles, LongNameKeepsItsFullSixteenBitLength) {
    StationTable tabella{};
    tabella[80].name = std::string(300, 'x');
    const std::string bytes = encode_station_table(tabella);
    EXPECT_EQ(bytes.size(), 87u * 34 + 300);
    EXPECT_EQ(testing::little_endian(bytes, 80 * 34 + 14, 2), 300u);
    EXPECT_EQ(decode_station_table(bytes)[80].name, tabella[80].name);
}

TEST(BinaryFiles, GridHoldsTaggedValuesXBeforeY) {
    Grid g;
    g.set_size(4);  // metres 0 to 4
    g.x = {0, 0, 0.5, 0, 0};
    g.y = {0, 1, 2.25, 0, 0};
    g.computed_metres = 3;  // metres 3 and 4 stay empty
    const std::string bytes = encode_grid(g);
    // Per coordinate: two 16-bit integers (4 bytes each), one double (10), two empty (2 each).
    ASSERT_EQ(bytes.size(), 2u * (4 + 4 + 10 + 2 + 2));
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x02\x00\x00\x00\x02\x00\x00\x00", 8));
    EXPECT_EQ(testing::little_endian(bytes, 8, 2), 5u);
    EXPECT_EQ(bytes.substr(18, 4), std::string(4, '\0'));
    EXPECT_EQ(bytes.substr(22, 8), std::string("\x02\x00\x00\x00\x02\x00\x01\x00", 8));
    const DecodedGrid decoded = decode_grid(bytes);
    ASSERT_EQ(decoded.y.size(), 5u);
    EXPECT_EQ(decoded.y[2].tag, 5);
    EXPECT_EQ(decoded.y[2].value, 2.25);
    EXPECT_EQ(decoded.x[4].tag, 0);
}

TEST(BinaryFiles, DecodersNameTheOffsetOfAMalformedFile) {
    struct Case {
        const char* what;
        std::function<void()> decode;
        std::size_t offset;
    };
    const std::string table = encode_station_table(StationTable{});
    const std::vector<Case> cases{
        {"cut cell", [] { decode_cells(std::string(20, '\0')); }, 16},
        {"cut table", [&] { decode_station_table(table.substr(0, 100)); }, 98},
        {"table tail", [&] { decode_station_table(table + "x"); }, 87 * 34},
        {"bad tag", [] { decode_grid(std::string("\x07\x00", 2)); }, 0},
        {"cut double", [] { decode_grid(std::string("\x05\x00\x01", 3)); }, 2},
    };
    for (const Case& c : cases) {
        try {
            c.decode();
            ADD_FAILURE() << c.what << ": no error";
        } catch (const DecodeError& error) {
            EXPECT_EQ(error.offset(), c.offset) << c.what;
        }
    }
}

}  // namespace
}  // namespace scenariogen
