// The plan of a compiled scenario as a picture reads it: the grid file in
// pieces of any size, sampled as the grid in memory is, and refused where it
// is not what the compiler writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "format/binary_writer.h"
#include "format/plan_sample.h"
#include "format/scenario_reading.h"

namespace scenariogen {
namespace {

// Hands the bytes on in pieces of 1, 7, 13, 4096 bytes, over and over, so
// that values are cut at every place.
class RaggedInput : public ByteInput {
public:
    explicit RaggedInput(std::string_view bytes) : bytes_(bytes) {}
    std::size_t read(char* buffer, std::size_t size) override {
        static constexpr std::size_t kSizes[] = {1, 7, 13, 4096};
        const std::size_t n = std::min({size, bytes_.size(), kSizes[turn_++ % 4]});
        bytes_.copy(buffer, n);
        bytes_.remove_prefix(n);
        return n;
    }

private:
    std::string_view bytes_;
    std::size_t turn_ = 0;
};

// A winding plan of `metres` metres, of which the last two are not computed.
Grid winding_grid(std::int32_t metres) {
    Grid g;
    g.set_size(metres - 1);
    g.computed_metres = metres - 2;
    g.x[0] = 0, g.y[0] = 0, g.x[1] = 0, g.y[1] = 1;
    for (std::size_t m = 2; m < g.x.size(); ++m) {
        const double t = static_cast<double>(m) / 2000;
        g.x[m] = 3000 * std::sin(t) + 0.25 * static_cast<double>(m);
        g.y[m] = 2000 * (1 - std::cos(t));
    }
    if (g.x.size() > 77777) g.x[77777] = 1e6;  // one far point, between the samples
    return g;
}

PlanSample read_ragged(const std::string& bytes, std::vector<std::int32_t> chosen) {
    RaggedInput input(bytes);
    return read_scenario_plan(input, bytes.size(), std::move(chosen));
}

TEST(PlanReading, TheFileReadInPiecesGivesTheSampleOfTheGridInMemory) {
    const Grid grid = winding_grid(300001);
    const std::vector<std::int32_t> stations{0, 12345, 150001, 299998, 400000};
    const PlanSample in_memory = sample_plan(grid, stations);
    const PlanSample from_file = read_ragged(encode_grid(grid), stations);

    EXPECT_EQ(from_file.metres, in_memory.metres);
    EXPECT_EQ(from_file.x, in_memory.x);
    EXPECT_EQ(from_file.y, in_memory.y);
    EXPECT_EQ(from_file.stride, in_memory.stride);
    EXPECT_EQ(from_file.x_max, in_memory.x_max);
    EXPECT_EQ(from_file.y_min, in_memory.y_min);

    // 299999 computed metres: sampled every 8 m, so that at most 2^16 are kept.
    EXPECT_EQ(from_file.last, 299998);
    EXPECT_EQ(from_file.stride, 8);
    EXPECT_LE(from_file.metres.size(), kMostSampledMetres + stations.size() + 1);
    // The extent counts every metre, the far one between the samples too.
    EXPECT_EQ(from_file.x_max, 1e6);
    EXPECT_EQ(from_file.x_min, *std::min_element(grid.x.begin(), grid.x.begin() + 299999));
    EXPECT_EQ(from_file.y_max, *std::max_element(grid.y.begin(), grid.y.begin() + 299999));
    // Every stride, every chosen metre within the plan and the last are
    // kept with their coordinates as stored.
    for (std::size_t i = 0; i < from_file.metres.size(); ++i) {
        const std::int32_t m = from_file.metres[i];
        const bool chosen = std::find(stations.begin(), stations.end(), m) != stations.end();
        EXPECT_TRUE(m % 8 == 0 || chosen || m == 299998) << m;
        EXPECT_EQ(from_file.x[i], grid.x[static_cast<std::size_t>(m)]) << m;
        EXPECT_EQ(from_file.y[i], grid.y[static_cast<std::size_t>(m)]) << m;
    }
    for (const std::int32_t m : {12345, 150001, 299998}) {
        EXPECT_TRUE(std::binary_search(from_file.metres.begin(), from_file.metres.end(), m)) << m;
        EXPECT_EQ(from_file.at(m).x, grid.x[static_cast<std::size_t>(m)]) << m;
    }
    // Between two samples, a point on the chord: within a few millimetres of
    // a curve of radius 2 km.
    const PlanPoint between = from_file.at(100003);
    EXPECT_NEAR(between.x, grid.x[100003], 0.01);
    EXPECT_NEAR(between.y, grid.y[100003], 0.01);
}

TEST(PlanReading, TheStrideDoublesOnlyForPlansOfMoreThanTwoToTheSixteenMetres) {
    struct Case {
        std::int32_t metres;
        std::int32_t stride;
    };
    for (const Case c : {Case{8001, 1}, Case{65538, 1}, Case{65539, 2}, Case{90001, 2}}) {
        const PlanSample sample = read_ragged(encode_grid(winding_grid(c.metres)), {});
        EXPECT_EQ(sample.stride, c.stride) << c.metres;
        EXPECT_EQ(sample.last, c.metres - 3) << c.metres;
        if (c.stride == 1) {
            EXPECT_EQ(sample.metres.size(), static_cast<std::size_t>(c.metres - 2));
        }
    }
}

// Files that a grid reader takes but that the compiler never writes.
TEST(PlanReading, AGridUnlikeACompiledPlanIsRefusedWithItsOffset) {
    const Grid grid = winding_grid(8001);
    const std::string bytes = encode_grid(grid);
    const std::size_t half = bytes.size() / 2;
    // Metre 7999's x a double, its y still empty: as many values in each
    // block, but the x block is 8 bytes longer, so the y block no longer
    // starts halfway.
    std::string x_longer = bytes;
    x_longer.replace(half - 4, 2, std::string("\x05\0", 2) + std::string(8, '\0'));
    // Metre 7998's y empty and metre 7999's a double: the y block takes
    // the same bytes, but its computed metres end one before the x block's.
    const std::size_t y7998 = half + 8 + 7996 * 10;
    std::string y_shorter = bytes;
    y_shorter.replace(y7998, 12, std::string("\0\0\x05\0", 4) + std::string(8, '\0'));
    std::string not_a_number = bytes;
    // Metre 5000's y: after the y block's two integers and 4997 doubles.
    const std::size_t y5000 = half + 8 + 4998 * 10;
    not_a_number.replace(y5000 + 2, 8, std::string("\0\0\0\0\0\0\xf8\x7f", 8));
    struct Case {
        const char* what;
        std::string bytes;
        std::size_t offset;
        const char* message;
    };
    const std::vector<Case> cases{
        {"the y block not halfway", x_longer, half + 4, "do not take half the file each"},
        {"a y computed one metre short", y_shorter, y7998, "metre 7998 holds an x but no y"},
        {"a y that is not a number", not_a_number, y5000, "metre 5000 holds a coordinate that is not a number"},
        {"a value cut short", bytes.substr(0, bytes.size() - 5), bytes.size() - 12, "ends inside a double"},
        {"an odd number of values", bytes.substr(0, bytes.size() - 2), bytes.size() - 2, "odd number of values"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            read_ragged(c.bytes, {});
            ADD_FAILURE() << "accepted";
        } catch (const ScenarioDecodeError& error) {
            EXPECT_EQ(error.file(), FileKind::kGrid);
            EXPECT_EQ(error.offset(), c.offset);
            EXPECT_NE(error.message().find(c.message), std::string::npos) << error.message();
        }
    }
}

}  // namespace
}  // namespace scenariogen
