#include "camera/random.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Random, FreshProcessAndSeedOneGiveTheCRuntimeSequence) {
    // The classic C-runtime sequence for state 1; glibc's rand() gives other numbers.
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    EXPECT_EQ(RandomState(), 1u) << "a fresh process starts in state 1";
    for (int e : expected) EXPECT_EQ(RandomDraw(), e);
    SeedRandom(1);
    for (int e : expected) EXPECT_EQ(RandomDraw(), e);
}

TEST(Random, StateWrapsModulo2To32AndDrawsStayInRange) {
    SeedRandom(0xffffffffu);
    // 0xffffffff * 214013 + 2531011 mod 2^32 = 2531011 - 214013 = 2316998
    EXPECT_EQ(RandomDraw(), static_cast<int>((2316998u >> 16) & 0x7fff));
    EXPECT_EQ(RandomState(), 2316998u);
    for (int i = 0; i < 100000; ++i) {
        const int d = RandomDraw();
        ASSERT_GE(d, 0);
        ASSERT_LE(d, kRandMax);
    }
}

TEST(Random, UnitDrawIsDrawOver32767) {
    SeedRandom(7);
    const int raw = RandomDraw();
    SeedRandom(7);
    EXPECT_DOUBLE_EQ(RandomUnit(), raw / 32767.0);
}

}  // namespace
}  // namespace orv
