#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstring>

#include "platform/input.h"
#include "platform/wintypes.h"
#include "tests/platform/x11/x_test_client.h"

namespace {

const uint8_t VK_SELECT = 0x29;  // its keysym is on no key of the server's layout

bool Down(const char keys[32], KeyCode code) { return (keys[code / 8] & (1 << (code % 8))) != 0; }

class X11InputTest : public XClientTest {};

TEST_F(X11InputTest, KeysArriveByKeysymEvenWhenTheLayoutLacksOne) {
    ASSERT_EQ(XKeysymToKeycode(client_, XK_Select), 0);
    XSync(client_, False);  // the keyboard interest that lookup registered reaches the server
    const struct {
        uint8_t vk, scan;
        KeySym expected;
    } keys[] = {{'A', 0, XK_a}, {VK_RETURN, 0, XK_Return}, {VK_SELECT, 0, XK_Select}, {0, 0x1E, XK_a}};
    for (const auto& k : keys) {
        SysKeybdEvent(k.vk, k.scan, 0);
        SysKeybdEvent(k.vk, k.scan, KEYEVENTF_KEYUP);
    }
    ASSERT_TRUE(Pump([&] { return received_.size() >= 8; }));
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(received_[i].type, i % 2 == 0 ? KeyPress : KeyRelease) << i;
        EXPECT_EQ(received_[i].keysym, keys[i / 2].expected) << i;
    }
    // The borrowed key goes back to carrying nothing once it has been left alone.
    const KeyCode spare = static_cast<KeyCode>(received_[4].keycode);
    auto unmapped = [&] {
        int per = 0;
        KeySym* syms = XGetKeyboardMapping(client_, spare, 1, &per);
        bool empty = true;
        for (int i = 0; i < per; ++i) empty = empty && syms[i] == NoSymbol;
        XFree(syms);
        return empty;
    };
    EXPECT_FALSE(unmapped()) << "kept a moment for clients still to read it";
    EXPECT_TRUE(Pump(unmapped, 3000));
}

TEST_F(X11InputTest, MouseMovesClicksAndTurnsTheWheelInWholeNotches) {
    // (5120, 5120) of 65536 is (100, 80) on a 1280x1024 screen.
    SysMouseEvent(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 5120, 5120, 0, 0);
    SysMouseEvent(MOUSEEVENTF_MOVE, 3, -2, 0, 0);
    SysMouseEvent(MOUSEEVENTF_WHEEL, 0, 0, 240, 0);
    SysMouseEvent(MOUSEEVENTF_WHEEL, 0, 0, -120, 0);
    SysMouseEvent(MOUSEEVENTF_WHEEL, 0, 0, -60, 0);
    SysMouseEvent(MOUSEEVENTF_WHEEL, 0, 0, -60, 0);
    const unsigned expected[] = {1, 1, 4, 4, 4, 4, 5, 5, 5, 5};
    ASSERT_TRUE(Pump([&] { return KeysAndButtons().size() >= 10; }));
    const std::vector<Received> got = KeysAndButtons();
    ASSERT_EQ(got.size(), 10u);
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(got[i].type, i % 2 == 0 ? ButtonPress : ButtonRelease) << i;
        EXPECT_EQ(got[i].button, expected[i]) << i;
    }
    EXPECT_TRUE(got[0].x == 100 && got[0].y == 80) << got[0].x << "," << got[0].y;
    EXPECT_TRUE(got[2].x == 103 && got[2].y == 78) << "relative motion";
}

TEST_F(X11InputTest, KeyboardStateShowsHeldKeysAndClearingReleasesOnlyModifiers) {
    const KeyCode control = XKeysymToKeycode(client_, XK_Control_L);
    const KeyCode shiftR = XKeysymToKeycode(client_, XK_Shift_R);
    const KeyCode a = XKeysymToKeycode(client_, XK_a);
    const KeyCode caps = XKeysymToKeycode(client_, XK_Caps_Lock);
    XTestFakeKeyEvent(client_, caps, True, CurrentTime);
    XTestFakeKeyEvent(client_, caps, False, CurrentTime);
    for (KeyCode code : {control, shiftR, a}) XTestFakeKeyEvent(client_, code, True, CurrentTime);
    XSync(client_, False);

    uint8_t state[256];
    ASSERT_TRUE(SysGetKeyboardState(state));
    for (int vk : {int{VK_CONTROL}, 0xA2, int{VK_SHIFT}, 0xA1, int{'A'}}) EXPECT_EQ(state[vk], 0x80) << vk;
    EXPECT_EQ(state[0xA0] | state[0xA3] | state[VK_MENU], 0);
    EXPECT_EQ(state[VK_CAPITAL], 0x01) << "Caps Lock on, key up";

    // The generic Shift entry keeps the right Shift that is down; a named left Alt comes down.
    memset(state, 0, sizeof state);
    state[VK_SHIFT] = 0x80;
    state[VK_LMENU] = 0x80;
    ASSERT_TRUE(SysSetKeyboardState(state));
    XSync(X11Display(), False);
    char keys[32];
    XQueryKeymap(client_, keys);
    EXPECT_TRUE(!Down(keys, control) && Down(keys, shiftR) && Down(keys, a));
    EXPECT_TRUE(Down(keys, XKeysymToKeycode(client_, XK_Alt_L)));
    EXPECT_FALSE(Down(keys, XKeysymToKeycode(client_, XK_Shift_L)));

    const uint8_t released[256] = {};
    ASSERT_TRUE(SysSetKeyboardState(released));
    XSync(X11Display(), False);
    XQueryKeymap(client_, keys);
    EXPECT_TRUE(!Down(keys, shiftR) && !Down(keys, XKeysymToKeycode(client_, XK_Alt_L)));
    EXPECT_TRUE(Down(keys, a)) << "not a modifier: left as it is";
    XTestFakeKeyEvent(client_, a, False, CurrentTime);
    XSync(client_, False);
}

}  // namespace
