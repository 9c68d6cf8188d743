// The plug-in's random numbers follow the C runtime's generator from state 1.
#include "frame/vtr3_random.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// One process, one generator: the sequence test must see the generator untouched.
TEST(Random, RawSequenceBoundsAndDegenerateRange) {
    EXPECT_EQ(VTR3RandomRaw(), 41);
    EXPECT_EQ(VTR3RandomRaw(), 18467);
    EXPECT_EQ(VTR3RandomRaw(), 6334);
    EXPECT_EQ(VTR3RandomRaw(), 26500);
    EXPECT_EQ(VTR3RandomRaw(), 19169);

    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int value = VTR3Random(0, 10);
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 10);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 10u);

    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(VTR3Random(7, 7), 7);
        EXPECT_EQ(VTR3Random(5, -5), 5);
    }
    // A range too wide for 32-bit products still stays inside its bounds.
    for (int i = 0; i < 100; ++i) {
        const int value = VTR3Random(-2000000000, 2000000000);
        EXPECT_GE(value, -2000000000);
        EXPECT_LT(value, 2000000000);
    }
}

} // namespace
