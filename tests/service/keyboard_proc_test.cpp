#include "service/keyboard_proc.h"

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "host/busy_processes.h"
#include "host/mappings.h"
#include "platform/registry.h"
#include "service/service_data.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "text/utf8.h"
#include "ui/command_ids.h"

namespace {

const int kF7 = 0x76, kF8 = 0x77;

class KeyboardProcTest : public CoreTest {
protected:
    static void StoreText(const std::string& key, const char* text) {
        StoreCreateKey(key.c_str());
        StoreSetValue(key.c_str(), "Text", REG_SZ, text, static_cast<uint32_t>(strlen(text) + 1));
    }
    // Ctrl, Shift and Alt as the digits of mods (100 = Ctrl only).
    void Mapping(int vk, int action, int mods = 0, const char* text = "") {
        const uint8_t values[] = {static_cast<uint8_t>(action), mods / 100 != 0, mods / 10 % 10 != 0, mods % 10 != 0};
        for (int t = 0; t < 4; ++t) tables_[t][vk] = values[t];
        StoreText(KELMOR_KEY "\\Mappings\\" + std::to_string(vk), text);
    }
    void ShortType(const char* name, const char* text) {
        strcpy(list_ + 16 * shortTypes_++, name);
        StoreText(std::string(KELMOR_KEY "\\ShortType\\") + name, text);
    }
    void Reload(int level = 3, uint32_t window = 0x2001) {
        AttachServiceData();
        ReloadServiceCache(window, 0x51, level, gLog.gszLogFile, tables_[0], tables_[1], tables_[2], tables_[3], list_,
                           nullptr);
    }
    static void Hold(int mods) {
        fake::keyboardState[VK_CONTROL] = mods / 100 ? 0x80 : 0;
        fake::keyboardState[VK_SHIFT] = mods / 10 % 10 ? 0x80 : 0;
        fake::keyboardState[VK_MENU] = mods % 10 ? 0x80 : 0;
    }
    // The key state follows the event, as the system's does before calling the hook, and
    // so does the character the key makes.
    static intptr_t Key(int vk, bool down = true, uint32_t character = 0) {
        fake::keyboardState[vk] = down ? 0x80 : 0;
        fake::eventCharacter = character;
        return KelmorKeyboardProc(HC_ACTION, static_cast<uintptr_t>(vk), 0);
    }
    // Each character typed on its own key: the letter's or digit's key, or the one given.
    static intptr_t Releases(const char* typed, int vk = 0) {
        intptr_t result = -1;
        for (const char* c = typed; *c; ++c) {
            const int key = vk != 0 ? vk : *c >= 'a' && *c <= 'z' ? *c - 'a' + 'A' : *c;
            const uint32_t character = *c == '\b' ? 0 : static_cast<unsigned char>(*c);
            Key(key, true, character), result = Key(key, false, character);
        }
        return result;
    }
    // What was typed since the last call: keys as their code (Backspace \b, Enter \r),
    // characters as themselves, each handed back through the hook as the system does: all
    // must pass on untouched, and all have been sent with other input held back.
    std::string Typed() {
        std::string out;
        const std::vector<fake::KeyEvent> typed(fake::keyEvents.begin() + seen_, fake::keyEvents.end());
        const size_t passedBefore = fake::nextHookCodes.size();
        for (const fake::KeyEvent& e : typed) {
            const bool down = (e.flags & KEYEVENTF_KEYUP) == 0;
            EXPECT_TRUE(e.held) << "other input could come between the keys typed";
            char bytes[4];
            if (down) {
                out += e.vk == VK_PACKET ? std::string(bytes, static_cast<size_t>(EncodeUtf8(e.character, bytes)))
                                         : std::string(1, static_cast<char>(e.vk));
            }
            EXPECT_EQ(Key(e.vk, down, e.character), 0);
        }
        seen_ += typed.size();
        EXPECT_EQ(fake::nextHookCodes.size() - passedBefore, typed.size()) << "a typed key was acted on";
        EXPECT_FALSE(fake::otherInputHeld) << "other input still held back";
        return out;
    }

    uint8_t tables_[4][256] = {};  // action, Ctrl, Shift, Alt
    char list_[1024] = {};
    int shortTypes_ = 0;
    size_t seen_ = 0;
};

TEST_F(KeyboardProcTest, OnlyTheLastReleasedKeysInARowSpellAnAbbreviation) {
    EXPECT_EQ(Key('A'), 1);  // no record yet: every event is taken
    ShortType("btw", "by the way");
    ShortType("ab", "first");
    ShortType("cab", "second");
    ShortType("klmnopqrstuvwx0", "fifteen");
    Mapping('Y', ACTION_PLAYBACK);
    Reload();
    EXPECT_EQ(Releases("btw"), 0);
    EXPECT_EQ(Typed(), "\b\b\bby the way");  // the typed y did not play back
    EXPECT_TRUE(fake::postedCommands.empty());
    EXPECT_TRUE(Logged("   Current Keyboard Buffer: [WTB]"));
    EXPECT_TRUE(Logged("      Last char of ShortType #0: \"BTW\", checking for full match..."));
    EXPECT_TRUE(Logged("   Got match for ShortType #0: \"BTW\""));
    EXPECT_TRUE(Logged("   Service-->Replacing \"BTW\" with \"by the way\""));
    // A typed key lost on its way back: the keys that came after the typing are the user's.
    Releases("btw");
    fake::keyEvents.pop_back();
    EXPECT_EQ(Typed(), "\b\b\bby the way");
    fake::keyAfterTyping = true;
    Releases("btw");
    fake::keyAfterTyping = false;
    EXPECT_EQ(Typed(), "\b\b\bby the way");
    EXPECT_TRUE(Logged("   Service-->1 typed keys never came back: the keys from here on are the user's"));
    // A capital is another character: it ends the word, and Shift alone changes nothing.
    Key(VK_SHIFT);
    Releases("B");
    Key(VK_SHIFT, false);
    Releases("twb\btw");  // and another key in between
    EXPECT_EQ(Typed(), "");
    EXPECT_TRUE(Logged("   Non-Printable Char 66: Resetting Keyboard Buffer"));
    EXPECT_TRUE(Logged("   Non-Printable Char 8: Resetting Keyboard Buffer"));
    Releases("cab");  // the earlier slot wins
    EXPECT_EQ(Typed(), "\b\bfirst");
    Releases("zklmnopqrstuvwx0");
    EXPECT_EQ(Typed(), std::string(15, '\b') + "fifteen");
    Key('Y');
    EXPECT_EQ(fake::postedCommands, std::deque<int>{1732});
    EXPECT_EQ(KelmorKeyboardProc(3, 'A', 0), 0);  // not a key event: passed on
    EXPECT_EQ(fake::nextHookCodes.back(), 3);
}

TEST_F(KeyboardProcTest, AMappingFiresOnlyWithExactlyItsModifiersAndTypesItsTextLiterally) {
    Mapping(kF7, ACTION_TYPE_TEXT, 100, "a\r\nb\nc{enter}");
    Mapping(kF8, ACTION_START_RECORDING);
    Reload();
    for (int mods : {110, 101, 0}) {
        Hold(mods);
        EXPECT_EQ(Key(kF7), 0);
    }
    EXPECT_TRUE(Logged("   Service-->Partial mapping match, Checking 1==32768 0==32768 0==0..."));
    Hold(100);
    EXPECT_EQ(Key(kF7), 1);
    EXPECT_EQ(Typed(), "a\rb\rc{enter}");  // one Enter for CR LF and for LF
    EXPECT_EQ(fake::keyboardState[VK_CONTROL], 0);   // the held modifiers no longer count
    EXPECT_TRUE(Logged("   Service-->Mapping Match! >>> Playing hotkey mapping #118, Action: 5"));
    EXPECT_TRUE(Logged("   Service-->Typing \"a\r\nb\nc{enter}\""));
    // The clipboard's text (at most 255 characters) in place of the words, when it has any.
    Mapping(kF7, ACTION_TYPE_TEXT, 0, "(Unformat Clipboard Text)");
    Reload();
    EXPECT_EQ(Key(kF7), 1);
    EXPECT_EQ(Typed(), "(Unformat Clipboard Text)");
    fake::clipboardHasText = true;
    fake::clipboardText = std::string(300, '1');
    EXPECT_EQ(Key(kF7), 1);
    EXPECT_EQ(Typed(), std::string(255, '1'));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Key(kF8), 1);  // auto-repeat
    EXPECT_EQ(fake::postedCommands, (std::deque<int>{1054, 1054, 1054}));
}

TEST_F(KeyboardProcTest, AbbreviationsMatchTheCharactersTheLayoutMakesAndTextIsTypedAsWritten) {
    ShortType("n1", "one");
    ShortType("r2", "two");
    ShortType("mfg", "Mit freundlichen Gr\xC3\xBC\xC3\x9F" "en \xE2\x80\x93 \xD0\x9F\xE2\x82\xAC\x01");
    Mapping(kF7, ACTION_TYPE_TEXT, 0, "caf\xE9");  // Windows-1252, as older programs stored it
    Reload();
    // On a French keyboard a digit takes Shift, and the digit row's unshifted e-acute is
    // neither a 2 nor a letter of an abbreviation.
    Releases("n");
    Key(VK_SHIFT);
    Releases("1");
    Key(VK_SHIFT, false);
    EXPECT_EQ(Typed(), "\b\bone");
    Releases("r");
    Releases("\xE9", '2');
    EXPECT_EQ(Typed(), "");
    // Characters past ASCII are typed as themselves, and one that cannot be typed is left
    // out and logged.
    Releases("mfg");
    EXPECT_EQ(Typed(), "\b\b\bMit freundlichen Gr\xC3\xBC\xC3\x9F" "en \xE2\x80\x93 \xD0\x9F\xE2\x82\xAC");
    EXPECT_TRUE(Logged("   Service-->Cannot type U+0001: skipped"));
    EXPECT_EQ(Key(kF7), 1);
    EXPECT_EQ(Typed(), "caf\xC3\xA9");
    // Only the events that really went out are passed by: a Backspace no key stands for
    // must not cost the user's next key.
    fake::unsentKeys = {VK_BACK};
    fake::eventsPerCharacter = 0;
    Releases("mfg");
    fake::keyEvents.clear();
    seen_ = 0;
    EXPECT_EQ(Key(kF7), 1);
}

TEST_F(KeyboardProcTest, KeysRolledOverTheAbbreviationsLastKeyAreKeptBehindTheReplacement) {
    ShortType("btw", "by the way");
    Reload();
    // Each row: the keys after "bt" as (key, down, character); what is typed in reply.
    const struct {
        std::vector<std::tuple<int, bool, uint32_t>> keys;
        std::string typed;
    } rows[] = {
        {{{'W', true, 'w'}, {' ', true, ' '}, {'W', false, 'w'}, {' ', false, ' '}}, "\b\b\b\bby the way "},
        {{{'W', true, 'w'}, {'X', true, 'x'}, {VK_SHIFT, true, 0}, {'Y', true, 'Y'}, {'W', false, 'w'},
          {'Y', false, 'Y'}, {VK_SHIFT, false, 0}, {'X', false, 'x'}},
         "\b\b\b\b\bby the wayxY"},
        // An edit while the key is held cannot be replayed: nothing is replaced.
        {{{'W', true, 'w'}, {VK_BACK, true, 8}, {'W', false, 'w'}}, ""},
        // Too late to act on: dropped.
        {{{'W', true, 'w'}, {-1, true, 0}, {'W', false, 'w'}}, ""},
        // The blank typed after the release came before the service could act (-2): it is
        // in the program already, and is replaced with the abbreviation once it is up.
        {{{'W', true, 'w'}, {-2, true, 0}, {'W', false, 'w'}, {' ', true, ' '}, {' ', false, ' '}},
         "\b\b\b\bby the way "},
    };
    for (const auto& row : rows) {
        Releases("bt");
        for (auto [vk, down, character] : row.keys) {
            if (vk == -2) {
                fake::holdsFindingNewerKeys = 1;
                continue;
            }
            if (vk < 0) {
                KelmorKeyboardProc(HC_NOREMOVE, 'Q', 0);
                continue;
            }
            Key(vk, down, character);
        }
        EXPECT_EQ(Typed(), row.typed);
    }
    // Nothing is acted on while another Kelmor plays back or records.
    fake::processId = 77;
    MarkJournalBusy(true);
    fake::processId = 4242;
    fake::runningProcesses = {77};
    Releases("btw");
    EXPECT_EQ(Typed(), "");
    fake::runningProcesses.clear();
    Releases("btw");
    EXPECT_EQ(Typed(), "\b\b\bby the way");
}

TEST_F(KeyboardProcTest, ActionsReachTheMainWindowAndALaunchFailureIsReportedWithoutAPlayback) {
    Mapping('P', ACTION_PLAY_FILE, 0, "/tmp/x.klr");
    Mapping('A', ACTION_ACTIVATE_WINDOW);
    Mapping('L', ACTION_LAUNCH_PROGRAM, 0, "no-such-program");
    Mapping('R', ACTION_REPLACE_TIME, 10);
    Reload(1);
    EXPECT_EQ(Key('P'), 1);
    std::string stored;
    uint32_t kind = 0;
    fake::StoredString(KELMOR_KEY, "ServiceFileLoad", &stored, &kind);
    EXPECT_EQ(stored + "/" + std::to_string(kind), "/tmp/x.klr/1");
    EXPECT_EQ(Key('A'), 1);
    fake::startProgramSucceeds = false;
    EXPECT_EQ(Key('L'), 1);
    const std::string message =
        "Unable to START the program 'no-such-program'!\n\n(NOTE: Try to copy the correct command from the "
        "\"Exec\" line of its .desktop launcher)";
    // Shown from the loop afterwards, never while the key is being handled.
    EXPECT_TRUE(fake::messageBoxes.empty());
    ASSERT_EQ(fake::postedMessageBoxes.size(), 1u);
    EXPECT_EQ(fake::postedMessageBoxes[0].text, message);
    EXPECT_EQ(fake::postedMessageBoxes[0].caption, "no-such-program");
    EXPECT_EQ(fake::postedMessageBoxes[0].style, uint32_t{MB_SYSTEMMODAL | MB_ICONWARNING});
    EXPECT_TRUE(Logged(message));
    EXPECT_FALSE(Logged("   Service-->Running \"no-such-program\""));  // a level 3 line
    Hold(10);
    EXPECT_EQ(Key('R'), 0);  // left to the player, after the state was cleared
    EXPECT_EQ(fake::keyboardState[VK_SHIFT], 0);
    // Without the main window the commands are not sent and the key goes on.
    Mapping('S', ACTION_START_RECORDING);
    Reload(1, 0);
    EXPECT_EQ(Key('S') + Key('A'), 0);
    EXPECT_EQ(fake::postedCommands, (std::deque<int>{1733, ID_TRAY_SHOW}));
}

}  // namespace
