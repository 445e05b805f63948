#include <cstdint>

#include "script/random.h"
#include "tests/test_support.h"

namespace {

// The generator written out again from its definition, to check the program's against.
struct Reference {
    uint32_t state;
    int Next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) % 32768u);
    }
    int64_t InRange(int64_t lo, int64_t hi) {
        volatile float f = static_cast<float>(Next() * 3.0516646 / 100000);
        return lo + static_cast<int64_t>(static_cast<double>(hi - lo + 1) * f);
    }
};

}  // namespace

class RandomTest : public CoreTest {};

TEST_F(RandomTest, UnseededGeneratorGivesTheClassicSequence) {
    for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(NextRandom(), expected);
}

TEST_F(RandomTest, RangesFollowTheGeneratorExactly) {
    const struct {
        int32_t lo, hi;
    } ranges[] = {{1000, 9999}, {0, 0}, {-5, 5}, {0, 32767}, {7, 3}, {INT32_MIN, INT32_MAX}};
    for (uint32_t seed : {1u, 0u, 12345u, 0xFFFFFFFFu}) {
        SeedRandom(seed);
        Reference ref{seed};
        for (int k = 0; k < 2000; ++k) {
            for (const auto& r : ranges) {
                const int64_t expected = ref.InRange(r.lo, r.hi);
                const int32_t got = RandomInRange(r.lo, r.hi);
                if (r.lo <= r.hi) {
                    ASSERT_EQ(got, expected) << "seed " << seed << " draw " << k;
                    ASSERT_GE(got, r.lo);
                    ASSERT_LE(got, r.hi);
                }
            }
        }
    }
}
