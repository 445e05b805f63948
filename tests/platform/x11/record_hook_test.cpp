// The record hook and the journal cancel against a real X server: input made with XTest
// on a connection of the test's own must reach the record procedure as the journal's
// EVENTMSGs.
// gtest first: the X headers define None and Bool as macros.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <glib.h>

#include "platform/clock.h"
#include "platform/journal.h"
#include "platform/wintypes.h"
#include "platform/x11/display.h"

namespace {

std::vector<EVENTMSG> gRecorded;
std::function<void()> gOnEvent;
int gCancels = 0;

intptr_t RecordProc(int code, uintptr_t, intptr_t lParam) {
    if (code == HC_ACTION) gRecorded.push_back(*reinterpret_cast<EVENTMSG*>(lParam));
    if (gOnEvent) gOnEvent();
    return 0;
}

bool PumpUntil(const std::function<bool()>& done) {
    const gint64 deadline = g_get_monotonic_time() + 3 * G_USEC_PER_SEC;
    while (!done()) {
        if (g_get_monotonic_time() > deadline) return false;
        if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
    }
    return true;
}

class RecordHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(X11Display(), nullptr);
        input_ = XOpenDisplay(nullptr);
        ASSERT_NE(input_, nullptr);
        window_ = XCreateSimpleWindow(input_, DefaultRootWindow(input_), 100, 100, 400, 300, 0, 0, 0);
        XSelectInput(input_, window_, StructureNotifyMask);
        XMapWindow(input_, window_);
        XEvent event;
        XWindowEvent(input_, window_, StructureNotifyMask, &event);
        XSetInputFocus(input_, window_, RevertToPointerRoot, CurrentTime);
        XSync(input_, False);
        gRecorded.clear();
        gOnEvent = nullptr;
        gCancels = 0;
        SysSetJournalCancelHandler([] { ++gCancels; });
    }
    void TearDown() override {
        if (hook_ != 0) SysUnhookJournal(hook_);
        PumpUntil([] { return g_main_context_pending(nullptr) == FALSE; });
        XDestroyWindow(input_, window_);
        XCloseDisplay(input_);
    }

    // Installs the record hook and waits until its stream runs: the server may take
    // injected input before it has handled the enable.
    void StartRecording() {
        hook_ = SysSetJournalHook(WH_JOURNALRECORD, RecordProc);
        ASSERT_NE(hook_, 0);
        int x = 0;
        ASSERT_TRUE(PumpUntil([&] {
            XTestFakeMotionEvent(input_, -1, 10 + (x++ % 2), 10, CurrentTime);
            XSync(input_, False);
            return !gRecorded.empty();
        }));
        PumpUntil([] { return g_main_context_pending(nullptr) == FALSE; });
        gRecorded.clear();
    }
    void Key(KeySym keysym, bool press) {
        XTestFakeKeyEvent(input_, XKeysymToKeycode(input_, keysym), press, CurrentTime);
    }
    void Tap(KeySym keysym) {
        Key(keysym, true);
        Key(keysym, false);
    }
    void Button(unsigned button, bool press) { XTestFakeButtonEvent(input_, button, press, CurrentTime); }
    void WaitFor(size_t count) {
        XSync(input_, False);
        EXPECT_TRUE(PumpUntil([&] { return gRecorded.size() >= count; })) << gRecorded.size() << " of " << count;
    }
    // Whether Ctrl+Esc reaches the test's window, or is still grabbed for the cancel.
    bool CtrlEscReachesWindow() {
        XSync(X11Display(), False);  // the ungrab is through before the keys
        XSelectInput(input_, window_, KeyPressMask | StructureNotifyMask);
        Key(XK_Control_L, true);
        Tap(XK_Escape);
        Key(XK_Control_L, false);
        XSync(input_, False);
        bool reached = false;
        XEvent event;
        while (XCheckTypedWindowEvent(input_, window_, KeyPress, &event)) {
            if (event.xkey.keycode == XKeysymToKeycode(input_, XK_Escape)) reached = true;
        }
        return reached;
    }
    uint32_t Scan(KeySym keysym) { return (XKeysymToKeycode(input_, keysym) - 8u) << 8; }

    Display* input_ = nullptr;
    Window window_ = None;
    intptr_t hook_ = 0;
};

struct Expected {
    uint32_t message, paramL, paramH;
};

void ExpectMessages(const std::vector<Expected>& expected) {
    ASSERT_EQ(gRecorded.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(gRecorded[i].message, expected[i].message) << "event " << i;
        EXPECT_EQ(gRecorded[i].paramL, expected[i].paramL) << "event " << i;
        EXPECT_EQ(gRecorded[i].paramH, expected[i].paramH) << "event " << i;
    }
}

TEST_F(RecordHookTest, KeysCarryVirtualKeyScanCodeFocusWindowAndTickTime) {
    StartRecording();
    const uint32_t before = SysGetTickCount();
    Tap(XK_a);
    Tap(XK_Up);
    WaitFor(4);
    const uint32_t after = SysGetTickCount();
    // Up is one of the PC's extended keys: its PC code and the extended bit.
    ExpectMessages({{WM_KEYDOWN, 'A' | Scan(XK_a), 1},
                    {WM_KEYUP, 'A' | Scan(XK_a), 1},
                    {WM_KEYDOWN, 0x26 | 0x48 << 8, 0x8001},
                    {WM_KEYUP, 0x26 | 0x48 << 8, 0x8001}});
    for (const EVENTMSG& event : gRecorded) {
        EXPECT_EQ(event.hwnd, window_);
        EXPECT_LE(static_cast<int32_t>(before - event.time), 2);
        EXPECT_LE(static_cast<int32_t>(event.time - after), 2);
    }
}

TEST_F(RecordHookTest, AltWithoutCtrlMakesSystemKeysAndModifiersLoseTheirSide) {
    StartRecording();
    Key(XK_Alt_L, true);
    Tap(XK_f);
    Key(XK_Alt_L, false);
    Key(XK_Control_R, true);
    Key(XK_Alt_L, true);
    Tap(XK_f);
    Key(XK_Alt_L, false);
    Key(XK_Control_R, false);
    WaitFor(10);
    const uint32_t alt = VK_MENU | Scan(XK_Alt_L), f = 'F' | Scan(XK_f), rightCtrl = VK_CONTROL | 0x1D << 8;
    ExpectMessages({{WM_SYSKEYDOWN, alt, 1},
                    {WM_SYSKEYDOWN, f, 1},
                    {WM_SYSKEYUP, f, 1},
                    {WM_SYSKEYUP, alt, 1},
                    {WM_KEYDOWN, rightCtrl, 0x8001},
                    {WM_KEYDOWN, alt, 1},
                    {WM_KEYDOWN, f, 1},
                    {WM_KEYUP, f, 1},
                    {WM_KEYUP, alt, 1},
                    {WM_KEYUP, rightCtrl, 0x8001}});
}

TEST_F(RecordHookTest, PointerEventsCarryRootCoordinatesAndTheWindowUnderThem) {
    StartRecording();
    XTestFakeMotionEvent(input_, -1, 250, 180, CurrentTime);
    for (unsigned button : {1u, 3u, 2u, 4u, 5u}) {
        Button(button, true);
        Button(button, false);
    }
    WaitFor(9);
    ExpectMessages({{WM_MOUSEMOVE, 250, 180},
                    {WM_LBUTTONDOWN, 250, 180},
                    {WM_LBUTTONUP, 250, 180},
                    {WM_RBUTTONDOWN, 250, 180},
                    {WM_RBUTTONUP, 250, 180},
                    {WM_MBUTTONDOWN, 250, 180},
                    {WM_MBUTTONUP, 250, 180},
                    {WM_MOUSEWHEEL, 250, 180},
                    {WM_MOUSEWHEEL, 250, 180}});
    for (const EVENTMSG& event : gRecorded) EXPECT_EQ(event.hwnd, window_);
}

TEST_F(RecordHookTest, UnhookFromInsideTheProcedureStopsTheBatchAndAHookCanFollow) {
    StartRecording();
    gOnEvent = [this] {
        EXPECT_TRUE(SysUnhookJournal(hook_));
        hook_ = 0;
        gOnEvent = nullptr;
    };
    Tap(XK_a);
    Tap(XK_b);
    WaitFor(1);
    XSync(input_, False);
    PumpUntil([] { return g_main_context_pending(nullptr) == FALSE; });
    EXPECT_EQ(gRecorded.size(), 1u);
    EXPECT_TRUE(CtrlEscReachesWindow()) << "the grab goes with the hook";

    StartRecording();
    Tap(XK_c);
    WaitFor(2);
    ExpectMessages({{WM_KEYDOWN, 'C' | Scan(XK_c), 1}, {WM_KEYUP, 'C' | Scan(XK_c), 1}});
}

TEST_F(RecordHookTest, CtrlEscRemovesTheHookThenCallsTheCancelHandlerOnce) {
    StartRecording();
    Key(XK_Control_L, true);
    Tap(XK_Escape);
    Key(XK_Control_L, false);
    XSync(input_, False);
    EXPECT_TRUE(PumpUntil([] { return gCancels > 0; }));
    PumpUntil([] { return g_main_context_pending(nullptr) == FALSE; });
    EXPECT_EQ(gCancels, 1);
    EXPECT_FALSE(SysUnhookJournal(hook_));
    hook_ = 0;
    gRecorded.clear();
    Tap(XK_a);
    XSync(input_, False);
    PumpUntil([] { return g_main_context_pending(nullptr) == FALSE; });
    EXPECT_TRUE(gRecorded.empty());

    EXPECT_TRUE(CtrlEscReachesWindow()) << "the grab goes with the hook";
}

TEST(JournalSettingsTest, DoubleClickTimeComesFromTheDesktopSettings) {
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    Window owner = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    Atom settings = XInternAtom(display, "_XSETTINGS_SETTINGS", False);
    // Little-endian: a string setting first, so the reader must step over it.
    std::vector<unsigned char> data = {0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0};
    auto add = [&](std::initializer_list<unsigned char> bytes) { data.insert(data.end(), bytes); };
    add({1, 0, 13, 0});
    for (char c : std::string("Net/ThemeName")) data.push_back(static_cast<unsigned char>(c));
    add({0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 'A', 'd', 'w', 'a', 'i', 0, 0, 0});
    add({0, 0, 19, 0});
    for (char c : std::string("Net/DoubleClickTime")) data.push_back(static_cast<unsigned char>(c));
    add({0, 0, 0, 0, 0, 250, 0, 0, 0});
    XChangeProperty(display, owner, settings, settings, 8, PropModeReplace, data.data(), static_cast<int>(data.size()));
    XSetSelectionOwner(display, XInternAtom(display, "_XSETTINGS_S0", False), owner, CurrentTime);
    XSync(display, False);

    intptr_t hook = SysSetJournalHook(WH_JOURNALRECORD, RecordProc);
    ASSERT_NE(hook, 0);
    EXPECT_EQ(SysGetDoubleClickTime(), 250u);
    EXPECT_EQ(SysSetJournalHook(WH_JOURNALPLAYBACK, RecordProc), 0) << "one journal hook at a time";
    EXPECT_TRUE(SysUnhookJournal(hook));

    XDestroyWindow(display, owner);  // the desktop's settings are gone with their owner
    XSync(display, False);
    hook = SysSetJournalHook(WH_JOURNALRECORD, RecordProc);
    EXPECT_EQ(SysGetDoubleClickTime(), 400u);
    EXPECT_TRUE(SysUnhookJournal(hook));
    XCloseDisplay(display);
}

}  // namespace
