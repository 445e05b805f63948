#include <vector>

#include "script/send_lock_key.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"

class SendLockKeyTest : public CoreTest {};

TEST_F(SendLockKeyTest, EachKindOfKeyHasItsOwnScanCodeAndFlags) {
    const uint32_t X = KEYEVENTF_EXTENDEDKEY, U = KEYEVENTF_KEYUP;
    const struct {
        int key, shift, result;
        std::vector<uint32_t> sent;  // vk, scan, flags of each event
    } cases[] = {
        {27, 1, 2, {27, 0x9D, X, 27, 0x9D, X | U}},  // Shift never applies here
        {17, 0, 2, {17, 0x9D, X, 17, 0x9D, X | U}},
        {145, 1, 2, {145, 0x45, X, 145, 0x45, X | U}},
        {91, 0, 2, {91, 0x45, X, 91, 0x45, X | U}},
        {'Q', 1, 4, {16, 0x81, X, 'Q', 0, 0, 'Q', 0, U, 16, 0x81, X | U}},
        {'7', 0, 2, {'7', 0, 0, '7', 0, U}},
        {186, 0, 2, {186, 0, X, 186, 0, X | U}},
    };
    for (const auto& c : cases) {
        fake::keyEvents.clear();
        EXPECT_EQ(SendLockKey(c.key, c.shift), c.result) << c.key;
        std::vector<uint32_t> sent;
        for (const fake::KeyEvent& e : fake::keyEvents) sent.insert(sent.end(), {e.vk, e.scan, e.flags});
        EXPECT_EQ(sent, c.sent) << c.key;
    }
    EXPECT_EQ(fake::keyboardState[145] | fake::keyboardState[91], 0) << "toggle state is flipped by hand on 9x only";
}
