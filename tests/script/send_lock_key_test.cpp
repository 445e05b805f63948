#include <cstring>
#include <vector>

#include "script/send_lock_key.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"

namespace {

struct Sent {
    int vk, scan;
    uint32_t flags;
    bool operator==(const Sent& o) const { return vk == o.vk && scan == o.scan && flags == o.flags; }
};

std::vector<Sent> Taken() {
    std::vector<Sent> out;
    for (const fake::KeyEvent& e : fake::keyEvents) out.push_back({e.vk, e.scan, e.flags});
    fake::keyEvents.clear();
    return out;
}

const uint32_t EXT = KEYEVENTF_EXTENDEDKEY, UP = KEYEVENTF_KEYUP;

}  // namespace

class SendLockKeyTest : public CoreTest {};

TEST_F(SendLockKeyTest, EachKindOfKeyHasItsOwnScanCodeAndFlags) {
    EXPECT_EQ(SendLockKey(27, 1), 2) << "Shift never applies to Esc, Backspace and Ctrl";
    EXPECT_EQ(Taken(), (std::vector<Sent>{{27, 0x9D, EXT}, {27, 0x9D, EXT | UP}}));
    EXPECT_EQ(SendLockKey(17, 0), 2);
    EXPECT_EQ(Taken(), (std::vector<Sent>{{17, 0x9D, EXT}, {17, 0x9D, EXT | UP}}));

    for (int key : {20, 91, 92, 93, 144, 145}) {
        EXPECT_EQ(SendLockKey(key, 1), 2) << key;
        EXPECT_EQ(Taken(), (std::vector<Sent>{{key, 0x45, EXT}, {key, 0x45, EXT | UP}})) << key;
    }
    uint8_t untouched[256] = {};
    EXPECT_EQ(memcmp(fake::keyboardState, untouched, sizeof untouched), 0)
        << "only the 9x family has its toggle state flipped by hand";

    EXPECT_EQ(SendLockKey('Q', 1), 4);
    EXPECT_EQ(Taken(), (std::vector<Sent>{{16, 0x81, EXT}, {'Q', 0, 0}, {'Q', 0, UP}, {16, 0x81, EXT | UP}}));
    EXPECT_EQ(SendLockKey('Q', 0), 2);
    EXPECT_EQ(Taken(), (std::vector<Sent>{{'Q', 0, 0}, {'Q', 0, UP}}));
    EXPECT_EQ(SendLockKey('7', 0), 2);
    EXPECT_EQ(Taken(), (std::vector<Sent>{{'7', 0, 0}, {'7', 0, UP}}));
    EXPECT_EQ(SendLockKey(186, 0), 2);
    EXPECT_EQ(Taken(), (std::vector<Sent>{{186, 0, EXT}, {186, 0, EXT | UP}}));
}
