#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "player/playback_state.h"
#include "recording/recording.h"
#include "script/key_names.h"
#include "script/type_expansion.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"

namespace {

using Events = std::vector<std::pair<uint32_t, uint32_t>>;  // message, key

// The recording TYPE commands play in: a key, a TYPE command's empty event at 1 and a
// WAIT command's at 2. Each text goes in right before the WAIT command, as if each came
// from its own TYPE command, so successive texts follow each other.
class TypeExpansionTest : public CoreTest {
protected:
    const int32_t kAt = 2;

    void SetUp() override {
        CoreTest::SetUp();
        Restart();
    }
    void Restart() {
        ClearRecording();
        gEvents[0] = EVENTMSG{WM_KEYDOWN, 'Z', 0, 0, 0};
        nEventCount = 3;
        AddCommand(KW_TYPE, "text", 1);
        AddCommand(KW_WAIT, "1", 2);
    }
    static void AddCommand(int32_t keyword, const char* argument, int32_t index) {
        nKeyword[nScriptCommands] = keyword;
        snprintf(szArgument[nScriptCommands], SCRIPT_ARG_SIZE, "%s", argument);
        nEventIndex[nScriptCommands++] = index;
    }
    // What the player does with a TYPE command's text.
    int Play(const char* text) {
        const int32_t position = nEventIndex[1];
        int n = ExpandTypeText(position, text);
        nEventCount += n;
        ShiftScriptCommands(position, n);
        return n;
    }
    // Events between the TYPE command and the WAIT command; checks the WAIT command
    // still points at its own empty event.
    Events Inserted() const {
        EXPECT_EQ(gEvents[nEventIndex[1]].message, 0u);
        EXPECT_EQ(nEventIndex[1], nEventCount - 1);
        Events out;
        for (int32_t i = kAt; i < nEventIndex[1]; ++i) {
            EXPECT_EQ(gEvents[i].paramH | gEvents[i].time | gEvents[i].hwnd, 0u);
            out.emplace_back(gEvents[i].message, gEvents[i].paramL);
        }
        return out;
    }
    // Reads the inserted key presses back as the characters they type.
    std::string Typed() const {
        std::string text;
        bool shift = false;
        for (auto [message, key] : Inserted()) {
            if (key == 16) shift = message == WM_KEYDOWN;
            if (key == 16 || (message != WM_KEYDOWN && message != WM_SYSKEYDOWN)) continue;
            char typed = '?';
            for (int c = 9; c < 127; ++c) {
                int s = 0;
                if (CharToKey(static_cast<char>(c), &s) == static_cast<int>(key) && s == (shift ? 1 : 0)) {
                    typed = static_cast<char>(c);
                    break;
                }
            }
            text += typed;
        }
        return text;
    }
};

const uint32_t KD = WM_KEYDOWN, KU = WM_KEYUP, SD = WM_SYSKEYDOWN, SU = WM_SYSKEYUP;

}  // namespace

TEST_F(TypeExpansionTest, PlainTextWrapsCapitalsInShift) {
    gbLogLevel = LOG_HIGH;
    EXPECT_EQ(Play("Hi"), 6);
    EXPECT_EQ(Inserted(), (Events{{KD, 16}, {KD, 'H'}, {KU, 'H'}, {KU, 16}, {KD, 'I'}, {KU, 'I'}}));
    EXPECT_EQ(nEventIndex[1], 8);
    EXPECT_EQ(ReadFile(gszLogFile),
              "   +++Injecting VK_SHIFT + WM_KEYDOWN + WM_KEYUP + VK_SHIFT for 'H' (72) into event stream...\r\n"
              "      +---Injected new event message 'WM_SHIFTDOWN' at (0-based) position [2] for a new total of 4\r\n"
              "      +---Injected new event message 'WM_*DOWN' at (0-based) position [3] for a new total of 5\r\n"
              "      +---Injected new event message 'WM_*UP' at (0-based) position [4] for a new total of 6\r\n"
              "      +---Injected new event message 'WM_SHIFTUP' at (0-based) position [5] for a new total of 7\r\n"
              "   +++Injecting WM_KEYDOWN + WM_KEYUP for 'i' (73) into event stream...\r\n"
              "      +---Injected new event message 'WM_*DOWN' at (0-based) position [6] for a new total of 8\r\n"
              "      +---Injected new event message 'WM_*UP' at (0-based) position [7] for a new total of 9\r\n"
              "   Injected a total of 6 additional events for a new total of 9\r\n"
              "      ~~~Adjusting upcoming script command #2 \"WAIT 1\" from event (0-based) index [2] to [8]\r\n");
    EXPECT_EQ(Play(""), 0);
    EXPECT_EQ(nEventCount, 9);
}

TEST_F(TypeExpansionTest, AltTokensSwitchToSystemKeys) {
    gbLogLevel = LOG_HIGH;
    EXPECT_EQ(Play("{ALTDOWN} rest is ignored"), 0);
    EXPECT_TRUE(gbScriptAltDown);
    EXPECT_EQ(ReadFile(gszLogFile),
              "   +++Injecting events for {altdown}\r\n"
              "      ~~~Adjusting upcoming script command #2 \"WAIT 1\" from event (0-based) index [2] to [3]\r\n"
              "      +---Injected new event message 'WM_MENUDOWN' at (0-based) position [2] for a new total of 4\r\n");
    EXPECT_EQ(Play("aB"), 4);
    EXPECT_EQ(Play("{altdown}"), 18) << "already down: the token is typed as nine characters";
    EXPECT_EQ(Play("{l_altup}"), 0);
    EXPECT_FALSE(gbScriptAltDown);
    Events events = Inserted();
    ASSERT_EQ(events.size(), 24u);
    EXPECT_EQ(Events(events.begin(), events.begin() + 5), (Events{{SD, 18}, {SD, 'A'}, {SU, 'A'}, {SD, 'B'}, {SU, 'B'}}));
    EXPECT_EQ(events.back(), std::make_pair(SU, 164u));
    EXPECT_EQ(Play("{altup}"), 18) << "already up: typed, with Shift around the braces";

    Restart();
    Play("{r_altdown}");
    Play("{r_altup}");
    Play("{altdown}");
    ClearScriptAltState();
    EXPECT_FALSE(gbScriptAltDown);
    EXPECT_EQ(Inserted(), (Events{{SD, 165}, {SU, 165}, {SD, 18}}));
}

TEST_F(TypeExpansionTest, ModifierAndKeyTokensPressOneKey) {
    for (const char* text : {"{shiftdown}", "{CtrlDown}", "{shiftup}", "{ctrlup}", "{pagedown}", "{down 5}",
                             "{F5}", "{From}", "{esc}"}) {
        EXPECT_EQ(Play(text), 0) << text;
    }
    gbScriptAltDown = true;
    Play("{home}");
    EXPECT_EQ(Inserted(), (Events{{KD, 16}, {KD, 17}, {KU, 16}, {KU, 17}, {KD, 34}, {KU, 34}, {KD, 40}, {KU, 40},
                                  {KD, 116}, {KU, 116}, {KD, 219}, {KU, 219}, {KD, 27}, {KU, 27}, {SD, 36}, {SU, 36}}));
}

TEST_F(TypeExpansionTest, LockKeysGoStraightToTheSystem) {
    gbLogLevel = LOG_HIGH;
    EXPECT_EQ(Play("{winkey}"), 0);
    EXPECT_EQ(nEventCount, 3);
    ASSERT_EQ(fake::keyEvents.size(), 2u);
    EXPECT_EQ(fake::keyEvents[0].vk, 91);
    EXPECT_EQ(fake::keyEvents[1].flags, static_cast<uint32_t>(KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP));
    EXPECT_EQ(ReadFile(gszLogFile),
              "   +++Injecting events for {some non-printing key}\r\n"
              "   >>>Sending script key with Kelmor secret sauce\r\n");
    EXPECT_EQ(Play("{capslock}"), 24) << "no key-token trigger: typed as text";
    EXPECT_EQ(fake::keyEvents.size(), 2u);
}

TEST_F(TypeExpansionTest, PlaceholdersTypeTheirValues) {
    Play("a{\\n}b{\\t}c{space}d{TAB}e{Return}f{newline}g{\\r}Save{enter}");
    EXPECT_EQ(Typed(), "a\nb\tc d\te\nf\ng\nSave\n");
    fake::localTime = SYSTEMTIME{2004, 8, 0, 15, 9, 5, 3, 42};
    nCompletedPasses = 2;
    gnLoopTypeBase = 100;
    Restart();
    Play("{date} {time} {DTNumber} {playbackloop}");
    EXPECT_EQ(Typed(), "08/15/2004 09:05:03 200408150905030042 103");
    nCompletedPasses = 0;
}

TEST_F(TypeExpansionTest, RandomTokensShareOneDraw) {
    Play("{random}-{random}");
    EXPECT_EQ(Typed(), "1011-1011") << "first draw of the unseeded generator (41) scaled into 1000..9999";
}

TEST_F(TypeExpansionTest, WorkingTextIsCutAt1023Characters) {
    gbLogLevel = LOG_LOW;
    std::string text = "x";
    while (text.size() + 10 <= 1023) text += "{dtnumber}";
    EXPECT_EQ(Play(text.c_str()), 2 * 1023);
    std::string expected = "x";
    while (expected.size() < 1023) expected += "200408150905030042";
    EXPECT_EQ(Typed(), expected.substr(0, 1023));
    EXPECT_EQ(ReadFile(gszLogFile), "   TYPE text cut at 1023 characters while expanding {dtnumber}\r\n");

    Restart();
    EXPECT_EQ(Play(std::string(5000, 'q').c_str()), 2 * 1023);
}

TEST_F(TypeExpansionTest, InsertionsStopAtTheCapacity) {
    gbLogLevel = LOG_LOW;
    const int32_t free = 5;
    for (int32_t i = 3; i < EVENT_CAPACITY - free; ++i) gEvents[i] = EVENTMSG{WM_KEYUP, 7, 0, 0, 0};
    nEventIndex[1] = EVENT_CAPACITY - free - 1;
    gEvents[nEventIndex[1]] = EVENTMSG{};
    nEventCount = EVENT_CAPACITY - free;
    EXPECT_EQ(Play("aBc"), 2) << "B needs four records and only three are left";
    EXPECT_EQ(Play("{pagedown}"), 0);
    EXPECT_EQ(nEventCount, EVENT_CAPACITY - 1);
    EXPECT_EQ(Play("{pagedown}"), 0);
    EXPECT_EQ(nEventCount, EVENT_CAPACITY - 1) << "a key's press and release go in together or not at all";
    EXPECT_EQ(Play("{altdown}"), 0);
    EXPECT_TRUE(gbScriptAltDown);
    EXPECT_EQ(nEventCount, EVENT_CAPACITY);
    EXPECT_EQ(Play("{altup}"), 0);
    EXPECT_TRUE(gbScriptAltDown) << "the Alt release found no room, so Alt is still down";
    EXPECT_EQ(Play("xyz"), 0);
    EXPECT_EQ(nEventIndex[1], EVENT_CAPACITY - 1);
    EXPECT_EQ(gEvents[nEventIndex[1]].message, 0u);
    EXPECT_EQ(gEvents[nEventIndex[1] - 1].message, WM_SYSKEYDOWN);
    EXPECT_EQ(gEvents[nEventIndex[1] - 5].paramL, 65u);
    EXPECT_EQ(gEvents[nEventIndex[1] - 6].paramL, 7u);
    std::string log = ReadFile(gszLogFile);
    EXPECT_NE(log.find("   Event list full: the rest of the TYPE text not injected (4 more events needed, 32765 of 32768"),
              std::string::npos) << log;
    // Straight into a list whose count is off the end: nothing at all.
    EXPECT_EQ(InjectTypedText(nEventCount + 1, nEventCount, "a", false), 0);
}
