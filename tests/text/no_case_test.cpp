#include "text/no_case.h"

#include <gtest/gtest.h>

TEST(NoCaseTest, APrefixOfATextEqualsAWholeNameButForCase) {
    const struct { const char* a; size_t length; const char* b; bool equal; } cases[] = {
        {"\\Mappings\\65", 10, "\\mappings\\", true},  // the rest of a is not looked at
        {"\\ShortType", 10, "\\SHORTTYPE", true},
        {"\\ShortTyp", 9, "\\ShortType", false},       // b is longer
        {"\\ShortTypes", 11, "\\ShortType", false},    // a's part is longer
        {"", 0, "", true},
        {"x", 0, "", true},
        {"[", 1, "{", false},                          // not letters: 32 apart, yet not folded
    };
    for (const auto& c : cases) EXPECT_EQ(EqualNoCaseN(c.a, c.length, c.b), c.equal) << c.a << " / " << c.b;
}
