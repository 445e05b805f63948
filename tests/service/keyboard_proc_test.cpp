#include "service/keyboard_proc.h"

#include <cstring>
#include <string>

#include "host/mappings.h"
#include "platform/registry.h"
#include "service/service_data.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"

namespace {

const uint32_t kHook = 0x51, kWindow = 0x2001;
const int kF7 = 0x76, kF8 = 0x77;

class KeyboardProcTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        ASSERT_TRUE(AttachServiceData());
        fake::windows.push_back({kWindow, "Kelmor", {}, true, true});
    }
    static void StoreText(const std::string& key, const char* text) {
        StoreCreateKey(key.c_str());
        StoreSetValue(key.c_str(), "Text", REG_SZ, text, static_cast<uint32_t>(strlen(text) + 1));
    }
    void Mapping(int vk, int action, int ctrl, int shift, int alt, const char* text = "") {
        tables_[0][vk] = static_cast<uint8_t>(action), tables_[1][vk] = static_cast<uint8_t>(ctrl);
        tables_[2][vk] = static_cast<uint8_t>(shift), tables_[3][vk] = static_cast<uint8_t>(alt);
        StoreText(KELMOR_KEY "\\Mappings\\" + std::to_string(vk), text);
    }
    void ShortType(const char* name, const char* text) {
        strcpy(list_ + 16 * shortTypes_++, name);
        StoreText(std::string(KELMOR_KEY "\\ShortType\\") + name, text);
    }
    void Reload(int level = 3, uint32_t window = kWindow) {
        ReloadServiceCache(window, kHook, level, gszLogFile, tables_[0], tables_[1], tables_[2], tables_[3], list_,
                           nullptr);
    }
    static void Hold(bool ctrl, bool shift, bool alt) {
        fake::keyboardState[VK_CONTROL] = ctrl ? 0x80 : 0;
        fake::keyboardState[VK_SHIFT] = shift ? 0x80 : 0;
        fake::keyboardState[VK_MENU] = alt ? 0x80 : 0;
    }
    // The key state follows the event, as the system's does before calling the hook.
    static intptr_t Key(int vk, bool down) {
        fake::keyboardState[vk] = down ? 0x80 : 0;
        return KelmorKeyboardProc(HC_ACTION, static_cast<uintptr_t>(vk), 0);
    }
    static intptr_t Press(int vk) { return Key(vk, true); }
    static void Releases(const char* keys) {
        for (const char* k = keys; *k; ++k) Press(*k), Key(*k, false);
    }
    // The keys typed since the last call, one character per press (Shift shows as '^'),
    // each handed back through the hook as the system does: all must pass on untouched.
    std::string Typed() {
        std::string out;
        const std::vector<fake::KeyEvent> typed(fake::keyEvents.begin() + seen_, fake::keyEvents.end());
        const size_t passedBefore = fake::nextHookCodes.size();
        for (const fake::KeyEvent& e : typed) {
            const bool down = (e.flags & KEYEVENTF_KEYUP) == 0;
            if (down) out += e.vk == VK_SHIFT ? '^' : static_cast<char>(e.vk);
            EXPECT_EQ(Key(e.vk, down), 0);
        }
        seen_ += typed.size();
        EXPECT_EQ(fake::nextHookCodes.size() - passedBefore, typed.size()) << "a typed key was acted on";
        return out;
    }

    uint8_t tables_[4][256] = {};  // action, Ctrl, Shift, Alt
    char list_[1024] = {};
    int shortTypes_ = 0;
    size_t seen_ = 0;
};

TEST_F(KeyboardProcTest, AnAbbreviationIsErasedAndReplacedAndTheTypedKeysComeBackUntouched) {
    ShortType("btw", "by the way");
    Mapping('Y', ACTION_PLAYBACK, 0, 0, 0);
    Reload();
    Releases("BT");
    Press('W');
    EXPECT_EQ(Key('W', false), 0);
    EXPECT_EQ(Typed(), "\b\b\bBY THE WAY");
    EXPECT_TRUE(Logged("   Current Keyboard Buffer: [WTB]"));
    EXPECT_TRUE(Logged("      Last char of ShortType #0: \"BTW\", checking for full match..."));
    EXPECT_TRUE(Logged("   Got match for ShortType #0: \"BTW\""));
    EXPECT_TRUE(Logged("   Service-->Replacing \"BTW\" with \"by the way\""));

    // The typed Y passed on untouched though it has a Mapping; now the user's own count.
    EXPECT_TRUE(fake::postedCommands.empty());
    Press('Y');
    EXPECT_EQ(fake::postedCommands, std::deque<int>{1732});
}

TEST_F(KeyboardProcTest, OnlyTheLastReleasedKeysInARowSpellAnAbbreviation) {
    ShortType("btw", "by the way");
    ShortType("ab", "first");
    ShortType("cab", "second");
    ShortType("klmnopqrstuvwxy", "fifteen");
    Reload();
    // A capital: the Shift press clears the buffer and the shifted release is not kept.
    Press(VK_SHIFT);
    EXPECT_TRUE(Logged("   Non-Printable SHIFT Char 16: Resetting Keyboard Buffer"));
    Releases("B");
    Key(VK_SHIFT, false);
    Releases("TW");
    // Another key in between.
    Releases("B\bTW");
    EXPECT_TRUE(Logged("   Non-Printable Char 8: Resetting Keyboard Buffer"));
    EXPECT_EQ(Typed(), "");
    Releases("CAB");  // the earlier slot wins
    EXPECT_EQ(Typed(), "\b\bFIRST");
    Releases("ZKLMNOPQRSTUVWXY");
    EXPECT_EQ(Typed(), "\b\b\b\b\b\b\b\b\b\b\b\b\b\b\bFIFTEEN");
}

TEST_F(KeyboardProcTest, AMappingFiresOnlyWithExactlyItsModifiersAndOnEveryRepeat) {
    Mapping(kF7, ACTION_TYPE_TEXT, 1, 0, 0, "a\r\nb\nc{enter}");
    Mapping(kF8, ACTION_START_RECORDING, 0, 0, 0);
    Reload();
    Hold(true, true, false);
    EXPECT_EQ(Press(kF7), 0);
    EXPECT_TRUE(Logged("   Service-->Partial mapping match, Checking 1==32768 0==32768 0==0..."));
    Hold(true, false, true);
    EXPECT_EQ(Press(kF7), 0);
    Hold(false, false, false);
    EXPECT_EQ(Press(kF7), 0);
    EXPECT_EQ(Typed(), "");
    Hold(true, false, false);
    EXPECT_EQ(Press(kF7), 1);
    // One Enter for CR LF and one for LF; the token is typed as its characters.
    EXPECT_EQ(Typed(), "A\rB\rC^\xDB" "ENTER^\xDD");
    EXPECT_EQ(fake::keyboardState[VK_CONTROL], 0);  // the modifiers no longer count
    EXPECT_TRUE(Logged("   Service-->Mapping Match! >>> Playing hotkey mapping #118, Action: 5"));
    EXPECT_TRUE(Logged("   Service-->Typing \"a\r\nb\nc{enter}\""));

    // The clipboard's text (at most 255 characters) in place of the words, when it has any.
    Mapping(kF7, ACTION_TYPE_TEXT, 0, 0, 0, "(Unformat Clipboard Text)");
    Reload();
    EXPECT_EQ(Press(kF7), 1);
    EXPECT_EQ(Typed(), "^9^UNFORMAT ^CLIPBOARD ^TEXT^0");
    fake::clipboardHasText = true;
    fake::clipboardText = std::string(300, '1');
    EXPECT_EQ(Press(kF7), 1);
    EXPECT_EQ(Typed(), std::string(255, '1'));

    for (int i = 0; i < 3; ++i) EXPECT_EQ(Press(kF8), 1);
    EXPECT_EQ(fake::postedCommands, (std::deque<int>{1054, 1054, 1054}));
}

TEST_F(KeyboardProcTest, ActionsReachTheMainWindowAndALaunchFailureIsReportedWithoutAPlayback) {
    Mapping('P', ACTION_PLAY_FILE, 0, 0, 0, "/tmp/x.klr");
    Mapping('A', ACTION_ACTIVATE_WINDOW, 0, 0, 0);
    Mapping('L', ACTION_LAUNCH_PROGRAM, 0, 0, 0, "no-such-program");
    Reload(1);
    EXPECT_EQ(Press('P'), 1);
    EXPECT_EQ(fake::postedCommands, std::deque<int>{1733});
    std::string stored;
    uint32_t kind = 0;
    fake::StoredString(KELMOR_KEY, "ServiceFileLoad", &stored, &kind);
    EXPECT_EQ(stored + "/" + std::to_string(kind), "/tmp/x.klr/1");
    EXPECT_EQ(Press('A'), 1);
    EXPECT_EQ(fake::activated, std::vector<HWND32>{kWindow});
    EXPECT_FALSE(fake::windows[0].minimized);
    fake::startProgramSucceeds = false;
    EXPECT_EQ(Press('L'), 1);
    const std::string message =
        "Unable to START the program 'no-such-program'!\n\n(NOTE: Try to copy the correct program path from "
        "the \"Properties\" of its icon)";
    ExpectBox(message, "no-such-program", MB_SYSTEMMODAL | MB_ICONWARNING);
    EXPECT_TRUE(Logged(message));
    EXPECT_FALSE(Logged("   Service-->Running \"no-such-program\""));  // a level 3 line
    Mapping('R', ACTION_REPLACE_TIME, 0, 1, 0);
    Reload(1);
    Hold(false, true, false);
    EXPECT_EQ(Press('R'), 0);  // left to the player, after the state was cleared
    EXPECT_EQ(fake::keyboardState[VK_SHIFT], 0);

    // Without the main window the commands are not sent and the key goes on.
    Mapping('S', ACTION_START_RECORDING, 0, 0, 0);
    Reload(1, 0);
    fake::postedCommands.clear();
    fake::nextHookCodes.clear();
    EXPECT_EQ(Press('S'), 0);
    EXPECT_EQ(Press('A'), 0);
    EXPECT_TRUE(fake::postedCommands.empty());
    EXPECT_EQ(fake::nextHookCodes.size(), 2u);
}

TEST_F(KeyboardProcTest, WithoutAHookHandleEveryEventIsTakenAndOtherCodesGoOn) {
    EXPECT_EQ(Press('A'), 1);  // the record is still empty
    Reload();
    EXPECT_EQ(KelmorKeyboardProc(3, 'A', 0), 0);
    EXPECT_EQ(fake::nextHookCodes, std::vector<int>{3});
    DetachServiceData();
    EXPECT_EQ(Press('A'), 1);
}

}  // namespace
