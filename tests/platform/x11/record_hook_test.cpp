// The record hook and the journal's cancel: input made with XTest on the test's own
// connection must reach the record procedure as the journal's EVENTMSGs.
#include "tests/platform/x11/x_test_client.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <tuple>

#include "platform/clock.h"
#include "platform/journal.h"
#include "platform/wintypes.h"

namespace {

std::vector<EVENTMSG> gRecorded;
std::function<void()> gOnEvent;
int gCancels = 0;

intptr_t RecordProc(int code, uintptr_t, intptr_t lParam) {
    if (code == HC_ACTION) gRecorded.push_back(*reinterpret_cast<EVENTMSG*>(lParam));
    if (gOnEvent) gOnEvent();
    return 0;
}

using Msgs = std::vector<std::tuple<uint32_t, uint32_t, uint32_t>>;  // message, paramL, paramH

class RecordHookTest : public XClientTest {
protected:
    void TearDown() override {
        gOnEvent = nullptr;
        if (hook_ != 0) SysUnhookJournal(hook_);
        Settle();
        XClientTest::TearDown();
    }
    void Settle() { Pump([] { return g_main_context_pending(nullptr) == FALSE; }); }

    // Installs the record hook and waits until its stream runs: the server may take
    // injected input before it has handled the enable.
    void StartRecording() {
        SysSetJournalCancelHandler([] { ++gCancels; });
        gRecorded.clear();
        hook_ = SysSetJournalHook(WH_JOURNALRECORD, RecordProc);
        ASSERT_NE(hook_, 0);
        int x = 0;
        ASSERT_TRUE(Pump([&] {
            XTestFakeMotionEvent(client_, -1, 10 + (x++ % 2), 10, CurrentTime);
            XSync(client_, False);
            return !gRecorded.empty();
        }));
        Settle();
        gRecorded.clear();
    }
    // What was recorded, once count events are in; every event here belongs to the
    // test's window, the focused one and the one under the pointer.
    Msgs Recorded(size_t count) {
        XSync(client_, False);
        EXPECT_TRUE(Pump([&] { return gRecorded.size() >= count; })) << gRecorded.size() << " of " << count;
        Msgs got;
        for (const EVENTMSG& e : gRecorded) {
            EXPECT_EQ(e.hwnd, window_);
            got.emplace_back(e.message, e.paramL, e.paramH);
        }
        return got;
    }
    void ExpectCtrlEscReachesWindow() {
        XSync(X11Display(), False);  // the ungrab is through before the keys
        got_.clear();
        Chord({XK_Control_L, XK_Escape});
        XSync(client_, False);
        EXPECT_TRUE(Pump([&] { return std::count(got_.begin(), got_.end(), "+Escape") > 0; }, 1000))
            << "the grab goes with the hook";
    }
    uint32_t Scan(KeySym keysym) { return (XKeysymToKeycode(client_, keysym) - 8u) << 8; }

    intptr_t hook_ = 0;
};

TEST_F(RecordHookTest, KeysCarryVirtualKeyScanCodeSystemFlagAndTickTime) {
    StartRecording();
    const uint32_t before = SysGetTickCount();
    Chord({XK_a});
    Chord({XK_Up});
    Chord({XK_Alt_L, XK_f});
    Chord({XK_Control_R, XK_Alt_L, XK_f});
    const Msgs recorded = Recorded(14);
    const uint32_t after = SysGetTickCount();
    // Up and the right Ctrl are the PC's extended keys: their PC codes and the extended
    // bit. Keys typed with Alt but not Ctrl are system keys; modifiers lose their side.
    const uint32_t a = 'A' | Scan(XK_a), up = 0x26 | 0x48 << 8, alt = VK_MENU | Scan(XK_Alt_L), f = 'F' | Scan(XK_f),
                   rightCtrl = VK_CONTROL | 0x1D << 8;
    EXPECT_EQ(recorded, (Msgs{{WM_KEYDOWN, a, 1}, {WM_KEYUP, a, 1}, {WM_KEYDOWN, up, 0x8001}, {WM_KEYUP, up, 0x8001},
                              {WM_SYSKEYDOWN, alt, 1}, {WM_SYSKEYDOWN, f, 1}, {WM_SYSKEYUP, f, 1}, {WM_SYSKEYUP, alt, 1},
                              {WM_KEYDOWN, rightCtrl, 0x8001}, {WM_KEYDOWN, alt, 1}, {WM_KEYDOWN, f, 1},
                              {WM_KEYUP, f, 1}, {WM_KEYUP, alt, 1}, {WM_KEYUP, rightCtrl, 0x8001}}));
    for (const EVENTMSG& event : gRecorded) {
        EXPECT_LE(static_cast<int32_t>(before - event.time), 2);
        EXPECT_LE(static_cast<int32_t>(event.time - after), 2);
    }
}

TEST_F(RecordHookTest, PointerEventsCarryRootCoordinatesAndTheWindowUnderThem) {
    StartRecording();
    XTestFakeMotionEvent(client_, -1, 250, 180, CurrentTime);
    for (unsigned button : {1u, 3u, 2u, 4u, 5u}) {
        XTestFakeButtonEvent(client_, button, True, CurrentTime);
        XTestFakeButtonEvent(client_, button, False, CurrentTime);
    }
    Msgs expected;
    for (uint32_t message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN,
                             WM_MBUTTONUP, WM_MOUSEWHEEL, WM_MOUSEWHEEL}) {
        expected.emplace_back(message, 250, 180);
    }
    EXPECT_EQ(Recorded(9), expected);
}

TEST_F(RecordHookTest, UnhookFromTheProcedureOrCtrlEscEndsRecordingAndTheGrab) {
    StartRecording();
    gOnEvent = [this] {
        EXPECT_TRUE(SysUnhookJournal(hook_));
        hook_ = 0;
        gOnEvent = nullptr;
    };
    Chord({XK_a});
    Chord({XK_b});
    Recorded(1);
    Settle();
    EXPECT_EQ(gRecorded.size(), 1u) << "the rest of the batch is dropped";
    ExpectCtrlEscReachesWindow();

    StartRecording();
    Chord({XK_c});
    EXPECT_EQ(Recorded(2), (Msgs{{WM_KEYDOWN, 'C' | Scan(XK_c), 1}, {WM_KEYUP, 'C' | Scan(XK_c), 1}}));

    // The cancel removes the hook before the handler hears of it, and only once.
    gCancels = 0;
    Chord({XK_Control_L, XK_Escape});
    XSync(client_, False);
    EXPECT_TRUE(Pump([] { return gCancels > 0; }));
    Settle();
    EXPECT_EQ(gCancels, 1);
    EXPECT_FALSE(SysUnhookJournal(hook_));
    hook_ = 0;
    gRecorded.clear();
    ExpectCtrlEscReachesWindow();
    EXPECT_TRUE(gRecorded.empty());
}

TEST_F(RecordHookTest, InputTheServerTookBeforeTheUnhookIsRecordedThoughTheLoopHadNotReadIt) {
    StartRecording();
    Chord({XK_a});
    XSync(client_, False);
    // No loop turn in between: a busy program reaches Stop Recording before the data.
    EXPECT_TRUE(SysUnhookJournal(hook_));
    hook_ = 0;
    EXPECT_EQ(gRecorded.size(), 2u);
    Settle();
    EXPECT_EQ(gRecorded.size(), 2u) << "nothing after the unhook";

    // The stop key among that input: the procedure removes the hook itself, and what
    // came after the key stays out.
    StartRecording();
    gOnEvent = [this] {
        EXPECT_TRUE(SysUnhookJournal(hook_));
        gOnEvent = nullptr;
    };
    Chord({XK_b});
    XSync(client_, False);
    EXPECT_TRUE(SysUnhookJournal(hook_)) << "the hook asked to go is gone";
    hook_ = 0;
    EXPECT_EQ(gRecorded.size(), 1u);
}

TEST_F(RecordHookTest, KeysCarryTheWindowFocusedWhenTheyWereTypedThoughReadAfterTheFocusMoved) {
    StartRecording();
    Window other = XCreateSimpleWindow(client_, DefaultRootWindow(client_), 0, 0, 50, 50, 0, 0, 0);
    XMapWindow(client_, other);
    XSync(client_, False);
    // All of it made before the loop reads any: a busy program, or one whose window the
    // person clicked on straight after typing elsewhere.
    Chord({XK_a});
    XSetInputFocus(client_, other, RevertToParent, CurrentTime);
    Chord({XK_b});
    XSetInputFocus(client_, window_, RevertToParent, CurrentTime);
    XSync(client_, False);
    ASSERT_TRUE(Pump([] { return gRecorded.size() >= 4; }));
    std::vector<HWND32> windows;
    for (const EVENTMSG& e : gRecorded) windows.push_back(e.hwnd);
    const HWND32 typedInto = static_cast<HWND32>(window_), then = static_cast<HWND32>(other);
    EXPECT_EQ(windows, (std::vector<HWND32>{typedInto, typedInto, then, then}));
    XDestroyWindow(client_, other);
}

// Plays the given records back through the journal's playback hook.
std::vector<EVENTMSG> gReplay;
size_t gReplayed;
intptr_t gReplayHook;

intptr_t ReplayProc(int code, uintptr_t, intptr_t lParam) {
    if (code == HC_GETNEXT) *reinterpret_cast<EVENTMSG*>(lParam) = gReplay[gReplayed];
    if (code == HC_SKIP && ++gReplayed == gReplay.size()) SysUnhookJournal(gReplayHook);
    return 0;
}

TEST_F(RecordHookTest, RightModifiersAndAltGrComeBackOnTheirOwnKeys) {
    // Records what the keys do, then plays it back and notes what the window receives.
    const auto roundTrip = [this](const std::function<void()>& type, size_t count) {
        StartRecording();
        type();
        const Msgs recorded = Recorded(count);
        SysUnhookJournal(hook_);
        hook_ = 0;
        gReplay = gRecorded, gReplayed = 0;
        got_.clear();
        gReplayHook = SysSetJournalHook(WH_JOURNALPLAYBACK, ReplayProc);
        EXPECT_TRUE(gReplayHook != 0 && Pump([&] { return got_.size() >= count; }));
        return recorded;
    };
    const uint32_t ctrl = VK_CONTROL | 0x1D << 8, alt = VK_MENU | 0x38 << 8;
    EXPECT_EQ(roundTrip([this] { Chord({XK_Control_R}), Chord({XK_Alt_R}); }, 4),
              (Msgs{{WM_KEYDOWN, ctrl, 0x8001}, {WM_KEYUP, ctrl, 0x8001}, {WM_SYSKEYDOWN, alt, 0x8001},
                    {WM_SYSKEYUP, alt, 0x8001}}));
    EXPECT_EQ(got_, (Keys{"+Control_R", "-Control_R", "+Alt_R", "-Alt_R"}));

    // AltGr as a layout puts it on the right Alt key: the right Alt's virtual key all the
    // same, with a modifier other than Alt's.
    const KeyCode rightAlt = XKeysymToKeycode(client_, XK_Alt_R);
    const auto remap = [&](KeySym symbol, int from, int to) {
        XChangeKeyboardMapping(client_, rightAlt, 1, &symbol, 1);
        XModifierKeymap* map = XGetModifierMapping(client_);
        map = XInsertModifiermapEntry(XDeleteModifiermapEntry(map, rightAlt, from), rightAlt, to);
        EXPECT_EQ(XSetModifierMapping(client_, map), MappingSuccess);
        XFreeModifiermap(map);
    };
    KeySym symbol = XK_ISO_Level3_Shift;
    XSync(X11Display(), False);  // its interest in mapping changes reaches the server first
    remap(symbol, Mod1MapIndex, Mod5MapIndex);
    ASSERT_TRUE(Pump([&] { return XkbKeycodeToKeysym(X11Display(), rightAlt, 0, 0) == symbol; }));
    const auto altGr = [&] {
        XTestFakeKeyEvent(client_, rightAlt, True, CurrentTime);
        XTestFakeKeyEvent(client_, rightAlt, False, CurrentTime);
    };
    EXPECT_EQ(roundTrip(altGr, 2), (Msgs{{WM_SYSKEYDOWN, alt, 0x8001}, {WM_SYSKEYUP, alt, 0x8001}}));
    EXPECT_EQ(got_, (Keys{"+ISO_Level3_Shift", "-ISO_Level3_Shift"}));
    remap(XK_Alt_R, Mod5MapIndex, Mod1MapIndex);  // as found, for a next test on the same server
    XSync(client_, False);
}

using JournalSettingsTest = XConnectionTest;

TEST_F(JournalSettingsTest, DoubleClickTimeComesFromTheDesktopSettings) {
    Window owner = XCreateSimpleWindow(client_, DefaultRootWindow(client_), 0, 0, 1, 1, 0, 0, 0);
    // Little-endian: byte order, serial, count, then each setting's type, name length,
    // name padded to 4, serial, value. A string comes first, so the reader must step over it.
    const std::string pad3(3, '\0'), zero4(4, '\0');
    std::string data = zero4 + zero4 + '\2' + pad3;
    data += std::string{'\1', '\0', 13, '\0'} + "Net/ThemeName" + pad3 + zero4 + '\5' + pad3 + "Adwai" + pad3;
    data += std::string{'\0', '\0', 19, '\0'} + "Net/DoubleClickTime" + '\0' + zero4 + '\xFA' + pad3;
    Atom settings = XInternAtom(client_, "_XSETTINGS_SETTINGS", False);
    XChangeProperty(client_, owner, settings, settings, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
    XSetSelectionOwner(client_, XInternAtom(client_, "_XSETTINGS_S0", False), owner, CurrentTime);
    XSync(client_, False);

    intptr_t hook = SysSetJournalHook(WH_JOURNALRECORD, RecordProc);
    ASSERT_NE(hook, 0);
    EXPECT_EQ(SysGetDoubleClickTime(), 250u);
    EXPECT_EQ(SysSetJournalHook(WH_JOURNALPLAYBACK, RecordProc), 0) << "one journal hook at a time";
    EXPECT_TRUE(SysUnhookJournal(hook));

    XDestroyWindow(client_, owner);  // the desktop's settings are gone with their owner
    XSync(client_, False);
    hook = SysSetJournalHook(WH_JOURNALRECORD, RecordProc);
    EXPECT_EQ(SysGetDoubleClickTime(), 400u);
    EXPECT_TRUE(SysUnhookJournal(hook));
}

}  // namespace
