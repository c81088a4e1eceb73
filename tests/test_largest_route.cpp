#include <gtest/gtest.h>

#include <set>

#include "bench/largest_route.h"
#include "format/binary_writer.h"
#include "test_support.h"

namespace scenariogen {
namespace {

TEST(LargestRoute, CompilesWithoutAFault) {
    testing::Compiled c = testing::compile_texts(largest_line_description(), largest_train_description());
    for (const Fault& f : c.s.faults) ADD_FAILURE() << "error " << f.codice << " at " << f.posizione.value_or(-1);
    ASSERT_EQ(c.esito, Esito::kScritto);
    EXPECT_EQ(c.s.ultima_cella(), 20140);
    EXPECT_EQ(c.s.griglia.ultimo_metro, 1007000);
    EXPECT_EQ(c.s.griglia.metri_calcolati, 1006999);
    // Every kind of object the format allows stands somewhere on it.
    std::set<int> kinds;
    for (const auto& cella : c.s.percorso) kinds.insert(cella.tipo);
    EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14}));
    // The grid file: metres 0 and 1 as integers, 1006997 doubles, 2 empty metres, per coordinate.
    EXPECT_EQ(encode_grid(c.s.griglia).size(), 2u * (2 * 4 + 1006997 * 10 + 2 * 2));
}

}  // namespace
}  // namespace scenariogen
