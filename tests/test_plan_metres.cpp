// A compilation that follows the plan's metres without computing the grid's
// coordinates finds the same faults and writes the same records as one
// that computes them, and its grid file, computed from the plan's
// stretches as it is written, holds the same bytes.
#include <gtest/gtest.h>

#include <tuple>

#include "bench/largest_route.h"
#include "format/binary_writer.h"
#include "format/grid_writer.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using testing::crlf;
using testing::own_line_text;
using testing::own_train_text;

auto cell_members(const Cell& c) {
    return std::tie(c.kind, c.value_1, c.value_2, c.value_3, c.value_4, c.signal_time, c.approach_marker,
                    c.mountain_kind, c.speed_limit, c.gradient, c.adhesion);
}

auto fault_members(const Diagnostic& d) {
    return std::make_tuple(d.number, d.detail, d.position, d.cell, d.where ? d.where->line : -1,
                           d.where ? d.where->column : -1);
}

CompileResult compiled(const std::string& line, const std::string& train, bool coordinates) {
    CompileInput input{line, train, "Prova", "1", true};
    input.grid_coordinates = coordinates;
    return compile(input);
}

// The grid file as compile writes it: computed from the plan's stretches
// piece by piece, x and y blocks each at its offset.
std::string streamed_grid(const CompileResult& r) {
    PlanCoordinates coordinates(r.plan_stretches);
    const GridContent content{r.grid.last_metre, r.grid.computed_metres, &coordinates};
    PositionedStringOutput out(static_cast<std::size_t>(grid_file_size(content)));
    write_grid(content, out);
    return std::move(out.text());
}

std::string line_with(const std::vector<std::string>& objects, const std::string& length = "20000") {
    std::vector<std::string> lines{"[generale]", "lunghezza percorso,  " + length, "[curve]"};
    lines.insert(lines.end(), objects.begin(), objects.end());
    lines.push_back("[fine]");
    return crlf(lines);
}

TEST(PlanMetres, FaultsAndRecordsAreThoseOfTheFullGrid) {
    const std::string train =
        crlf({"[generale]", "velocita,  0,  100", "segnale,  6000,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0", "[fine]"});
    const struct {
        const char* name;
        std::string line, train;
        std::int32_t last_error;
    } cases[] = {
        {"the scenario's own descriptions", own_line_text(), own_train_text(), 0},
        {"the largest route", largest_line_description(), largest_train_description(), 0},
        {"a curve past the end of the plan", line_with({"curvad3,  26000,  200", "pendenza,  27000,  4"}), train, 15},
        {"a curve of no class", line_with({"curvad,  1000,  200"}), train, 103},
        {"a plan past 1000000 m", line_with({"curvas2,  999000,  6000"}, "1000000"), train, 103},
        {"curves out of order", line_with({"curvad3,  5000,  200", "curvas3,  1000,  300", "pendenza,  2000,  3"}),
         train, 0},
        {"a curve with a malformed length", line_with({"curvad3,  1000,  2x0"}), train, 25},
        {"a reading that stops before the plan starts",
         crlf({"[generale]", "lunghezza percorso,  20000", "ripetizione segnali 9 codici,  125,  200", "[curve]",
               "curvad3,  1000,  200", "[fine]"}),
         train, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CompileResult full = compiled(c.line, c.train, true);
        const CompileResult metres = compiled(c.line, c.train, false);
        EXPECT_EQ(full.last_error, c.last_error);
        EXPECT_EQ(full.outcome, metres.outcome);
        ASSERT_EQ(full.faults.size(), metres.faults.size());
        for (std::size_t i = 0; i < full.faults.size(); ++i) {
            EXPECT_EQ(fault_members(full.faults[i]), fault_members(metres.faults[i]));
        }
        ASSERT_EQ(full.cells.size(), metres.cells.size());
        for (std::size_t i = 0; i < full.cells.size(); ++i) {
            ASSERT_EQ(cell_members(full.cells[i]), cell_members(metres.cells[i])) << "cell " << i;
        }
        ASSERT_EQ(full.placements.size(), metres.placements.size());
        for (std::size_t i = 0; i < full.placements.size(); ++i) {
            EXPECT_EQ(full.placements[i].last_cell, metres.placements[i].last_cell);
        }
        EXPECT_EQ(full.grid.last_metre, metres.grid.last_metre);
        EXPECT_EQ(full.grid.computed_metres, metres.grid.computed_metres);
        EXPECT_TRUE(metres.grid.x.empty() && metres.grid.y.empty());
        const std::string bytes = encode_grid(full.grid);
        EXPECT_TRUE(streamed_grid(metres) == bytes) << "the streamed grid file differs";
        EXPECT_TRUE(streamed_grid(full) == bytes) << "the streamed grid file differs";
    }
}

}  // namespace
}  // namespace scenariogen
