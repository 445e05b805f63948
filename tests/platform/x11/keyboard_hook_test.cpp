// The keyboard hook: keys pressed with XTest on the test's own connection reach the
// procedure with the system's arguments and the key state of their moment, and the keys
// it takes never reach the focused window.
#include "tests/platform/x11/x_test_client.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <algorithm>

#include "platform/input.h"
#include "platform/journal.h"
#include "platform/keyboard_hook.h"
#include "platform/wintypes.h"
#include "text/utf8.h"

namespace {

const uint8_t kF7 = 0x76, kF8 = 0x77, kF9 = 0x78;
const uint32_t kUp = 0xC0000000;

struct Seen {
    uintptr_t vk;
    uint32_t flags;
    bool ctrl, shift, key;  // held, as the key state tells the procedure
    bool operator==(const Seen& o) const {
        return vk == o.vk && flags == o.flags && ctrl == o.ctrl && shift == o.shift && key == o.key;
    }
};
std::ostream& operator<<(std::ostream& out, const Seen& s) {
    return out << "{" << s.vk << " " << std::hex << s.flags << std::dec << " " << s.ctrl << s.shift << s.key << "}";
}

std::vector<Seen> gSeen;
std::vector<uint32_t> gCharacters;  // what each of gSeen made
std::function<void(uintptr_t vk, bool press)> gOnKey;
std::vector<int> gCodes;  // the hook code of each of gSeen

intptr_t Proc(int code, uintptr_t vk, intptr_t lParam) {
    gCodes.push_back(code);
    const auto flags = static_cast<uint32_t>(lParam);
    gSeen.push_back({vk, flags, SysGetKeyState(VK_CONTROL) < 0, SysGetKeyState(VK_SHIFT) < 0,
                     SysGetKeyState(static_cast<uint8_t>(vk)) < 0});
    gCharacters.push_back(SysKeyEventCharacter());
    if (gOnKey) gOnKey(vk, (flags & kUp) == 0);
    return 1;  // taking every key: only the grabbed ones may be kept from programs anyway
}

intptr_t JournalRecordProc(int, uintptr_t, intptr_t) { return 0; }

class KeyboardHookTest : public XClientTest {
protected:
    void TearDown() override {
        gOnKey = nullptr;
        if (hook_ != 0) SysUnhookKeyboard(hook_);
        for (KeySym key : {XK_Control_L, XK_Shift_L, XK_F7, XK_F8}) Key(key, false);
        XSync(client_, False);
        Settle();
        XClientTest::TearDown();
    }
    void Settle() { Pump([] { return g_main_context_pending(nullptr) == FALSE; }); }

    // Installs the hook and waits until its stream runs.
    void Install() {
        hook_ = SysSetKeyboardHook(Proc);
        ASSERT_NE(hook_, 0);
        gSeen.clear();
        ASSERT_TRUE(Pump([&] {
            Chord({XK_F12});
            XSync(client_, False);
            return !gSeen.empty();
        }));
        Settle();
        gSeen.clear();
        gCodes.clear();
        gCharacters.clear();
        got_.clear();
    }
    // Waits for the procedure's count of events, then for the window to have received
    // everything sent before: F12 after them all.
    void Through(size_t seen) {
        XSync(client_, False);
        EXPECT_TRUE(Pump([&] { return gSeen.size() >= seen; })) << gSeen.size() << " of " << seen;
        Chord({XK_F12});
        XSync(client_, False);
        EXPECT_TRUE(Pump([&] { return std::count(got_.begin(), got_.end(), "-F12") > 0; }));
        gSeen.resize(std::min(gSeen.size(), seen));  // without the F12
        gCharacters.resize(gSeen.size());
    }
    long Count(const std::string& key) { return std::count(got_.begin(), got_.end(), key); }
    uint32_t Scan(KeySym keysym) { return (XKeysymToKeycode(client_, keysym) - 8u) << 16; }

    intptr_t hook_ = 0;
};

TEST_F(KeyboardHookTest, KeysCarryTheVirtualKeyFlagsAndTheKeyStateOfTheirMoment) {
    Key(XK_Shift_L, true);  // held before the hook: it counts all the same
    XSync(client_, False);
    ASSERT_NO_FATAL_FAILURE(Install());
    // All sent before the loop reads any: the server has them released by then, the
    // procedure still sees each event's own moment.
    Chord({XK_Control_R, XK_F7});
    Chord({XK_Up});
    Key(XK_Shift_L, false);
    Through(7);
    const uint32_t ctrl = 1 | 0x1D << 16 | 1 << 24, f7 = 1 | Scan(XK_F7), up = 1 | 0x48 << 16 | 1 << 24,
                   shift = 1 | Scan(XK_Shift_L);
    EXPECT_EQ(gSeen, (std::vector<Seen>{{VK_CONTROL, ctrl, true, true, true},
                                        {kF7, f7, true, true, true},
                                        {kF7, f7 | kUp, true, true, false},
                                        {VK_CONTROL, ctrl | kUp, false, true, false},
                                        {0x26, up, false, true, true},
                                        {0x26, up | kUp, false, true, false},
                                        {VK_SHIFT, shift | kUp, false, false, false}}));
    EXPECT_EQ(Count("+F7"), 1) << "nothing taken: the procedure's answer keeps no key";
    EXPECT_EQ(std::count(gCodes.begin(), gCodes.end(), HC_ACTION), static_cast<long>(gCodes.size()));

    // Keys that reach the procedure long after they were pressed are only shown to it.
    gSeen.clear(), gCodes.clear();
    Chord({XK_F8});
    XSync(client_, False);
    g_usleep(400 * 1000);
    Through(2);
    ASSERT_GE(gCodes.size(), 2u);
    EXPECT_EQ(std::vector<int>(gCodes.begin(), gCodes.begin() + 2), std::vector<int>(2, HC_NOREMOVE));
}

TEST_F(KeyboardHookTest, TakenKeyStaysFromTheFocusedWindowWhichGetsTheTextTypedForIt) {
    ASSERT_NO_FATAL_FAILURE(Install());
    const TakenKey taken[] = {{kF7, 1, 0, 0}};
    ASSERT_EQ(SysTakeKeys(taken, 1, nullptr, 0), 0);
    XSync(X11Display(), False);
    // As the service does on a hot key: clear the state, which lets Ctrl go, and type.
    gOnKey = [](uintptr_t vk, bool press) {
        if (vk != kF7 || !press) return;
        const uint8_t cleared[256] = {};
        EXPECT_TRUE(SysSetKeyboardState(cleared));
        EXPECT_EQ(SysGetKeyState(VK_CONTROL), 0);
        // The keys let go above are the hook's own, not others' keys typed meanwhile.
        EXPECT_TRUE(SysHoldOtherInput());
        SysKeybdEvent('X', 0, 0);
        SysKeybdEvent('X', 0, KEYEVENTF_KEYUP);
        SysLetOtherInputGo();
    };
    Key(XK_Control_L, true);
    Key(XK_F7, true);
    XSync(client_, False);
    ASSERT_TRUE(Pump([&] { return Count("-x") > 0; }));
    gOnKey = nullptr;
    Key(XK_F7, false);         // already up: the hook let it go, and
    Key(XK_Control_L, false);  // this one too
    Through(4);
    // The procedure's own typing comes back to it, the keys it let go do not.
    const uint32_t ctrl = 1 | Scan(XK_Control_L), f7 = 1 | Scan(XK_F7), x = 1 | Scan(XK_x);
    EXPECT_EQ(gSeen, (std::vector<Seen>{{VK_CONTROL, ctrl, true, false, true},
                                        {kF7, f7, true, false, true},
                                        {'X', x, false, false, true},
                                        {'X', x | kUp, false, false, false}}));
    ASSERT_GE(got_.size(), 4u);
    EXPECT_EQ(Keys(got_.begin(), got_.begin() + 4), (Keys{"+Control_L", "-Control_L", "+x", "-x"}));
    EXPECT_EQ(Count("+F7") + Count("-F7"), 0) << "neither the press nor a lone release reached the window";

    // Under Caps Lock too; with Shift as well, or alone, F7 is not the taken combination.
    got_.clear();
    gSeen.clear();
    Chord({XK_Caps_Lock});
    Chord({XK_Control_L, XK_F7});
    Chord({XK_Control_L, XK_Shift_L, XK_F7});
    Chord({XK_F7});
    Chord({XK_Caps_Lock});
    Through(15);  // the taken F7's release is not among them
    EXPECT_EQ(std::count_if(gSeen.begin(), gSeen.end(), [](const Seen& s) { return s.vk == kF7 && s.key; }), 3);
    EXPECT_EQ(Count("+F7"), 2);
}

// The service's replacement: other clients' keys wait while the procedure types, and no
// hold is taken while keys the procedure has not seen yet are in the programs already.
TEST_F(KeyboardHookTest, KeysSentWhileOthersAreHeldArriveWholeAndNoHoldIsTakenBeforeLaterKeysAreSeen) {
    ASSERT_NO_FATAL_FAILURE(Install());
    std::vector<bool> holds;
    gOnKey = [&](uintptr_t vk, bool press) {
        if (vk == kF8 && press) {
            // In the programs before F8's release is handled, but not read by the hook yet.
            Chord({XK_F9});
            XSync(client_, False);
        }
        if (press || (vk != kF8 && vk != kF9)) return;
        holds.push_back(SysHoldOtherInput());
        if (!holds.back()) return;
        Chord({XK_F7});  // another client's keys, sent first
        XFlush(client_);
        // Typed text, the first of the process: the keymap is read and spare keys are
        // looked for under a hold of their own, inside this one.
        SysTypeCharacter('x', true);
        SysTypeCharacter('x', false);
        SysLetOtherInputGo();
    };
    Chord({XK_F8});
    Through(8);
    EXPECT_EQ(holds, (std::vector<bool>{false, true})) << "F9 was in before F8's release was handled";
    ASSERT_GE(got_.size(), 8u);
    EXPECT_EQ(Keys(got_.begin(), got_.begin() + 8), (Keys{"+F8", "-F8", "+F9", "-F9", "+x", "-x", "+F7", "-F7"}));
}

TEST_F(KeyboardHookTest, BusyCombinationIsReportedOthersStayTakenAndTheUnhookGivesThemBack) {
    const Window root = DefaultRootWindow(client_);
    const KeyCode f8 = XKeysymToKeycode(client_, XK_F8);
    XGrabKey(client_, f8, ControlMask, root, False, GrabModeAsync, GrabModeAsync);
    XSync(client_, False);
    ASSERT_NO_FATAL_FAILURE(Install());
    const TakenKey taken[] = {{kF7, 1, 0, 0}, {kF8, 1, 0, 0}, {kF9, 0, 1, 0}};
    TakenKey busy[2] = {{0, 9, 9, 9}, {0, 9, 9, 9}};
    EXPECT_EQ(SysTakeKeys(taken, 3, busy, 0), 1);
    EXPECT_EQ(busy[0].vk, 0) << "nothing copied past busyMax";
    EXPECT_EQ(SysTakeKeys(taken, 3, busy, 2), 1);
    EXPECT_TRUE(busy[0].vk == kF8 && busy[0].ctrl == 1 && busy[0].shift == 0 && busy[0].alt == 0);
    EXPECT_EQ(busy[1].vk, 0);
    XSync(X11Display(), False);

    Chord({XK_Control_L, XK_F7});
    Chord({XK_Shift_L, XK_F9});
    Chord({XK_Control_L, XK_F8});  // to the other client's grab, which got the test's connection
    Through(10);  // the taken keys' releases are not among them
    EXPECT_EQ(Count("+F7") + Count("+F9"), 0);
    EXPECT_EQ(Count("+F8"), 1);
    XUngrabKey(client_, f8, ControlMask, root);

    EXPECT_TRUE(SysUnhookKeyboard(hook_));
    EXPECT_FALSE(SysUnhookKeyboard(hook_));
    hook_ = 0;
    XSync(X11Display(), False);
    got_.clear();
    Chord({XK_Control_L, XK_F7});
    Chord({XK_F12});
    XSync(client_, False);
    EXPECT_TRUE(Pump([&] { return Count("-F12") > 0; }));
    EXPECT_EQ(Count("+F7"), 1);
}

TEST_F(KeyboardHookTest, JournalRecordingTakesTheStreamAndTheKeysAndKeepsTheHookOut) {
    ASSERT_NO_FATAL_FAILURE(Install());
    const TakenKey taken[] = {{kF7, 1, 0, 0}};
    ASSERT_EQ(SysTakeKeys(taken, 1, nullptr, 0), 0);
    const intptr_t journal = SysSetJournalHook(WH_JOURNALRECORD, JournalRecordProc);
    ASSERT_NE(journal, 0);
    XSync(X11Display(), False);
    Chord({XK_Control_L, XK_F7});
    Chord({XK_F12});
    XSync(client_, False);
    EXPECT_TRUE(Pump([&] { return Count("-F12") > 0; }));
    EXPECT_EQ(Count("+F7"), 1) << "no key kept from programs by a hook that hears nothing";
    EXPECT_TRUE(gSeen.empty());
    EXPECT_EQ(SysTakeKeys(taken, 1, nullptr, 0), 0);

    // The hook's handle still removes it; no new one while the recording runs.
    EXPECT_TRUE(SysUnhookKeyboard(hook_));
    hook_ = SysSetKeyboardHook(Proc);
    EXPECT_EQ(hook_, 0);
    EXPECT_TRUE(SysUnhookJournal(journal));
    ASSERT_NO_FATAL_FAILURE(Install());
}

TEST_F(KeyboardHookTest, KeysReportTheCharactersTheyMakeInTheActiveLayoutAtPressAndRelease) {
    // The characters made, in order; modifiers and dead keys make none, and every key
    // comes with a virtual key, AltGr as Alt's.
    const struct {
        const char* layout;
        const char* keys;
        const char* text;
        long altGrEvents;
    } cases[] = {
        {"us", "a Shift_L+a Shift_L+1 Caps_Lock a Caps_Lock Control_L+a space", "aA!A\x01 ", 0},
        {"de", "z y ssharp Shift_L+ssharp ISO_Level3_Shift+q ISO_Level3_Shift+ssharp ISO_Level3_Shift+plus "
               "dead_circumflex e adiaeresis",
         "zy\u00DF?@\\~e\u00E4", 6},
        // The release of a digit typed with Shift on AZERTY reports the digit though Shift
        // went up first.
        {"fr", ">Shift_L >ampersand <Shift_L <ampersand eacute Shift_L+eacute a", "1\u00E92a", 0},
        {"ru", "Cyrillic_ef Shift_L+Cyrillic_ya period", "\u0444\u042F.", 0},
    };
    ASSERT_NO_FATAL_FAILURE(Install());
    for (const auto& c : cases) {
        ASSERT_NO_FATAL_FAILURE(UseLayout(c.layout));
        gSeen.clear();
        gCharacters.clear();
        Type(c.keys);
        Through(KeyEventsIn(c.keys));
        std::string pressed, released;
        for (size_t i = 0; i < gSeen.size(); ++i) {
            EXPECT_NE(gSeen[i].vk, 0u) << c.layout << " event " << i;
            char utf8[4];
            const int length = EncodeUtf8(gCharacters[i], utf8);
            if (gCharacters[i] != 0) ((gSeen[i].flags & kUp) != 0 ? released : pressed).append(utf8, length);
        }
        EXPECT_EQ(pressed, c.text) << c.layout;
        EXPECT_EQ(released, c.text) << c.layout;
        EXPECT_EQ(std::count_if(gSeen.begin(), gSeen.end(), [](const Seen& s) { return s.vk == VK_MENU; }),
                  c.altGrEvents)
            << c.layout;
    }
    EXPECT_EQ(SysKeyEventCharacter(), 0u) << "outside the hook";
}

TEST_F(KeyboardHookTest, TakenKeysAreTakenAgainWhereEachNewLayoutPutsThem) {
    ASSERT_NO_FATAL_FAILURE(UseLayout("de"));
    ASSERT_NO_FATAL_FAILURE(Install());
    const TakenKey taken[] = {{'Y', 1, 0, 0}, {'1', 1, 0, 0}};
    ASSERT_EQ(SysTakeKeys(taken, 2, nullptr, 0), 0);
    // Taken once under de; then the layout changes under the running hook. With Ctrl:
    // the keys that must be taken, then those that must reach the window. From fr on,
    // the program's connection asks for XKB's notices of a new keyboard (as the typing
    // code does), which then come instead of core mapping notices.
    const struct {
        const char* layout;
        std::vector<std::string> taken, passed;
    } cases[] = {
        {"de", {"y", "1"}, {"z", "7"}},
        {"us", {"y", "1"}, {"z", "7"}},
        {"fr", {"y", "ampersand"}, {"z", "egrave"}},  // AZERTY's digits are typed with Shift
        {"ru", {"Cyrillic_en", "1"}, {"Cyrillic_ya", "7"}},
        {"de", {"y", "1"}, {"z", "7"}},
    };
    for (const auto& c : cases) {
        if (std::string(c.layout) == "fr") {
            XkbSelectEvents(X11Display(), XkbUseCoreKbd, XkbNewKeyboardNotifyMask, XkbNewKeyboardNotifyMask);
        }
        ASSERT_NO_FATAL_FAILURE(UseLayout(c.layout));
        got_.clear();
        gSeen.clear();
        for (const std::string& key : c.taken) Type("Control_L+" + key);
        for (const std::string& key : c.passed) Type("Control_L+" + key);
        Through(3 * c.taken.size() + 4 * c.passed.size());  // a taken key's release does not come
        for (const std::string& key : c.taken) EXPECT_EQ(Count("+" + key), 0) << c.layout << ": " << key;
        for (const std::string& key : c.passed) EXPECT_EQ(Count("+" + key), 1) << c.layout << ": " << key;
    }
}

}  // namespace
