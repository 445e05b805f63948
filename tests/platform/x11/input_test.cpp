#include "tests/platform/x11/x_test_client.h"

#include <X11/keysym.h>

#include "platform/input.h"
#include "platform/wintypes.h"

namespace {

using X11InputTest = XClientTest;

TEST_F(X11InputTest, KeysArriveByKeysymEvenWhenTheLayoutLacksOne) {
    ASSERT_EQ(XKeysymToKeycode(client_, XK_Select), 0);
    XSync(client_, False);  // the keyboard interest that lookup registered reaches the server
    // 'A', Return, Select (on no key of the layout), then two codes with no symbol, told
    // apart by their scan codes.
    for (uint8_t vk : {uint8_t{'A'}, uint8_t{VK_RETURN}, uint8_t{0x29}}) {
        SysKeybdEvent(vk, 0, 0);
        SysKeybdEvent(vk, 0, KEYEVENTF_KEYUP);
    }
    for (uint32_t flags : {0u, static_cast<uint32_t>(KEYEVENTF_KEYUP)}) {
        for (uint8_t scan : {0x1E, 0x30}) SysKeybdEvent(0, scan, flags);
    }
    ASSERT_TRUE(Pump([&] { return got_.size() >= 10; }));
    EXPECT_EQ(got_, (Keys{"+a", "-a", "+Return", "-Return", "+Select", "-Select", "+a", "+b", "-a", "-b"}));
    // The borrowed key gives the symbol back once it has been left alone a while.
    EXPECT_NE(XKeysymToKeycode(client_, XK_Select), 0) << "kept for clients still to read it";
    EXPECT_TRUE(Pump([&] { return XKeysymToKeycode(client_, XK_Select) == 0; }, 3000));
}

TEST_F(X11InputTest, AKeyPlaysAtItsScanCodesPlaceOnlyWhereTheLayoutGivesThatPlaceItsVirtualKey) {
    // Virtual key and scan code, as a recording holds them, and what the window reads.
    const struct {
        const char* layout;
        uint8_t vk, scan;
        const char* text;
    } cases[] = {
        {"de", 'Y', 0x2C, "y"},                     // made under de: its own place
        {"de", 'Z', 0x2C, "z"},                     // made under us: de's Z is elsewhere
        {"de", 0xBF, 0x0C, "\u00DF"},               // de's ß key, by its second level's '?'
        {"de", 0xBD, 0x0C, "-"},                    // US '-' there: de's '-' key
        {"de", 0xC0, 0x29, "<dead_circumflex>"},    // a dead key, by the US key at its place
        {"fr", 'A', 0x1E, "a"},                     // fr's Q there
        {"fr", '1', 0x02, "&"},                     // the key of 1, without Shift
        {"ru", 'A', 0x1E, "\u0444"},                // a US recording plays the keys it names
        {"us", 0xDB, 0x1A, "["},
    };
    for (const auto& c : cases) {
        ASSERT_NO_FATAL_FAILURE(UseLayout(c.layout));
        text_.clear();
        EXPECT_TRUE(SysKeybdEvent(c.vk, c.scan, 0));
        EXPECT_TRUE(SysKeybdEvent(c.vk, c.scan, KEYEVENTF_KEYUP));
        EXPECT_TRUE(Pump([&] { return !text_.empty(); })) << c.layout << " " << int{c.vk};
        EXPECT_EQ(text_, c.text) << c.layout << " " << int{c.vk};
    }
}

TEST_F(X11InputTest, MouseMovesClicksAndTurnsTheWheelInWholeNotches) {
    // (5120, 5120) of 65536 is (100, 80) on the 1280x1024 screen.
    SysMouseEvent(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 5120, 5120, 0, 0);
    SysMouseEvent(MOUSEEVENTF_MOVE, 3, -2, 0, 0);
    for (int data : {240, -120, -60, -60}) SysMouseEvent(MOUSEEVENTF_WHEEL, 0, 0, data, 0);
    ASSERT_TRUE(Pump([&] { return got_.size() >= 10; }));
    EXPECT_EQ(got_, (Keys{"+b1@100,80", "-b1@100,80", "+b4@103,78", "-b4@103,78", "+b4@103,78", "-b4@103,78",
                          "+b5@103,78", "-b5@103,78", "+b5@103,78", "-b5@103,78"}));
}

TEST_F(X11InputTest, KeyboardStateShowsHeldKeysAndSettingItMovesOnlyModifiers) {
    for (KeySym held : {XK_Caps_Lock, XK_Control_L, XK_Shift_R, XK_a}) Key(held, true);
    Key(XK_Caps_Lock, false);
    XSync(client_, False);
    uint8_t state[256];
    ASSERT_TRUE(SysGetKeyboardState(state));
    for (int vk : {int{VK_CONTROL}, 0xA2, int{VK_SHIFT}, 0xA1, int{'A'}}) EXPECT_EQ(state[vk], 0x80) << vk;
    EXPECT_EQ(state[0xA0] | state[0xA3] | state[VK_MENU], 0);
    EXPECT_EQ(state[VK_CAPITAL], 0x01) << "Caps Lock on, its key up";
    EXPECT_TRUE(SysGetKeyState(VK_CONTROL) < 0 && SysGetKeyState('A') < 0 && SysGetKeyState(VK_MENU) == 0);
    EXPECT_EQ(SysGetKeyState(VK_CAPITAL), 1);

    // The generic Shift keeps the right Shift that is down; a named left Alt comes down.
    uint8_t wanted[256] = {};
    wanted[VK_SHIFT] = wanted[VK_LMENU] = 0x80;
    ASSERT_TRUE(SysSetKeyboardState(wanted));
    EXPECT_TRUE(!Down(XK_Control_L) && Down(XK_Shift_R) && !Down(XK_Shift_L) && Down(XK_Alt_L));
    const uint8_t released[256] = {};
    ASSERT_TRUE(SysSetKeyboardState(released));
    EXPECT_TRUE(!Down(XK_Shift_R) && !Down(XK_Alt_L));
    EXPECT_TRUE(Down(XK_a)) << "not a modifier: left as it is";
    Key(XK_a, false);  // as found, for a next test on the same server: Caps Lock off too
    Chord({XK_Caps_Lock});
    XSync(client_, False);
}

}  // namespace
