#include <cstdint>

#include "script/random.h"
#include "tests/test_support.h"

class RandomTest : public CoreTest {};

TEST_F(RandomTest, FollowsTheGeneratorExactly) {
    for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(NextRandom(), expected) << "unseeded";
    const int32_t ranges[][2] = {{1000, 9999}, {0, 0}, {-5, 5}, {0, 32767}, {INT32_MIN, INT32_MAX}};
    for (uint32_t seed : {0u, 12345u, 0xFFFFFFFFu}) {
        SeedRandom(seed);
        uint32_t state = seed;  // the generator written out again from its definition
        for (int k = 0; k < 2000; ++k) {
            for (const auto& r : ranges) {
                state = state * 214013u + 2531011u;
                volatile float f = static_cast<float>(((state >> 16) % 32768u) * 3.0516646 / 100000);
                const int64_t expected = r[0] + static_cast<int64_t>((int64_t{r[1]} - r[0] + 1) * double{f});
                ASSERT_EQ(RandomInRange(r[0], r[1]), expected) << "seed " << seed << " draw " << k;
                ASSERT_TRUE(expected >= r[0] && expected <= r[1]);
            }
        }
    }
}
