#include <gtest/gtest.h>

#include <set>

#include "bench/largest_route.h"
#include "format/binary_writer.h"
#include "test_support.h"

namespace scenariogen {
namespace {

TEST(LargestRoute, CompilesWithoutAFault) {
    testing::Compiled c = testing::compile_texts(largest_line_description(), largest_train_description());
    for (const Diagnostic& f : c.s.faults) ADD_FAILURE() << "error " << f.number << " at " << f.position.value_or(-1);
    ASSERT_EQ(c.outcome, CompileOutcome::kCompiled);
    EXPECT_EQ(c.s.last_cell(), 20140);
    EXPECT_EQ(c.s.grid.last_metre, 1007000);
    EXPECT_EQ(c.s.grid.computed_metres, 1006999);
    // Every kind of object the format allows stands somewhere on it.
    std::set<int> kinds;
    for (const auto& cell : c.s.cells) kinds.insert(cell.kind);
    EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14}));
    // The grid file: metres 0 and 1 as integers, 1006997 doubles, 2 empty metres, per coordinate.
    EXPECT_EQ(encode_grid(c.s.grid).size(), 2u * (2 * 4 + 1006997 * 10 + 2 * 2));
}

}  // namespace
}  // namespace scenariogen
