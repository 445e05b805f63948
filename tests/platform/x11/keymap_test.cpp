// Virtual keys of keys whose symbols several virtual keys share, or that layouts differ on.
#include "tests/platform/x11/x_test_client.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include "platform/x11/keymap.h"

namespace {

using KeymapTest = XClientTest;

TEST_F(KeymapTest, PrintScreenAndTheKeypadCommaRecordAsTheirOwnVirtualKeys) {
    Display* display = X11Display();
    // Print Screen, not the old Print key, though both press the Print symbol.
    EXPECT_EQ(X11KeycodeToVk(display, XKeysymToKeycode(client_, XK_Print), 0), 0x2C);
    EXPECT_EQ(X11VkToKeysym(0x2A), static_cast<KeySym>(XK_Print));

    // A layout whose keypad decimal key types a comma (the separator) with Num Lock on.
    const KeyCode decimal = XKeysymToKeycode(client_, XK_KP_Delete);
    XSync(display, False);  // its interest in mapping changes reaches the server first
    const auto remap = [&](KeySym second) {
        KeySym symbols[2] = {XK_KP_Delete, second};
        XChangeKeyboardMapping(client_, decimal, 2, symbols, 1);
        XSync(client_, False);
        return Pump([&] { return XkbKeycodeToKeysym(display, decimal, 0, 1) == second; });
    };
    ASSERT_TRUE(remap(XK_KP_Separator));
    const unsigned numLock = X11ModifierMaskOf(display, XK_Num_Lock);
    ASSERT_NE(numLock, 0u);
    EXPECT_EQ(X11KeycodeToVk(display, decimal, numLock), 0x6E);
    EXPECT_EQ(X11KeycodeToVk(display, decimal, 0), 0x2E) << "Delete with Num Lock off";
    ASSERT_TRUE(remap(XK_KP_Decimal));  // as found, for a next test on the same server
}

}  // namespace
