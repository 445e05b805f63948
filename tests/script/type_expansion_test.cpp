#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "recording/recording.h"
#include "script/key_names.h"
#include "script/type_expansion.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "text/utf8.h"

namespace {

using Events = std::vector<std::pair<uint32_t, uint32_t>>;  // message, key
const uint32_t KD = WM_KEYDOWN, KU = WM_KEYUP, SD = WM_SYSKEYDOWN, SU = WM_SYSKEYUP;

// A TYPE command's empty event at 1 and a WAIT command's at 2. Each text goes in
// right before the WAIT command, as if from its own TYPE command, so texts follow each other.
class TypeExpansionTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        altDown = false;
        Restart();
    }
    // The script's Alt, as the player keeps it through a pass.
    static inline bool altDown = false;
    void Restart() {
        ClearRecording();
        gRecording.nEventCount = 3;
        AddScriptCommand(KW_TYPE, "text", 1);
        AddScriptCommand(KW_WAIT, "1", 2);
    }
    // What the player does with a TYPE command's text.
    static int Play(const std::string& text) {
        const int32_t position = gRecordingStore.nEventIndex[1];
        int n = ExpandTypeText(position, text.c_str(), &altDown);
        gRecording.nEventCount += n;
        ShiftScriptCommands(position, n);
        return n;
    }
    // The events typed so far; the WAIT command must still point at its empty event.
    static Events Inserted() {
        EXPECT_TRUE(gRecordingStore.gEvents[gRecordingStore.nEventIndex[1]].message == 0 &&
                    gRecordingStore.nEventIndex[1] == gRecording.nEventCount - 1);
        Events out;
        for (int32_t i = 2; i < gRecordingStore.nEventIndex[1]; ++i) {
            out.emplace_back(gRecordingStore.gEvents[i].message, gRecordingStore.gEvents[i].paramL);
        }
        return out;
    }
    // The inserted presses read back as what they type: characters as themselves, Enter
    // and Tab as a line feed and a tab, any other key as its code.
    static std::string Typed() {
        std::string text;
        for (auto [message, key] : Inserted()) {
            if (message != KD && message != SD) continue;
            char bytes[4];
            if (IsCharacterRecord(key)) {
                text.append(bytes, static_cast<size_t>(EncodeUtf8(CharacterOfRecord(key), bytes)));
            } else {
                text += key == VK_RETURN ? '\n' : static_cast<char>(key);
            }
        }
        return text;
    }
};

}  // namespace

uint32_t P(uint32_t character) { return CharacterRecordParam(character); }

TEST_F(TypeExpansionTest, PlainTextIsTypedAsCharacters) {
    gLog.gbLogLevel = LOG_HIGH;
    EXPECT_EQ(Play("Hi"), 4);
    EXPECT_EQ(Inserted(), (Events{{KD, P('H')}, {KU, P('H')}, {KD, P('i')}, {KU, P('i')}}));
    EXPECT_EQ(ReadFile(gLog.gszLogFile),
              "   +++Injecting WM_KEYDOWN + WM_KEYUP for 'H' (72) into event stream...\r\n"
              "      +---Injected new event message 'WM_*DOWN' at (0-based) position [2] for a new total of 4\r\n"
              "      +---Injected new event message 'WM_*UP' at (0-based) position [3] for a new total of 5\r\n"
              "   +++Injecting WM_KEYDOWN + WM_KEYUP for 'i' (105) into event stream...\r\n"
              "      +---Injected new event message 'WM_*DOWN' at (0-based) position [4] for a new total of 6\r\n"
              "      +---Injected new event message 'WM_*UP' at (0-based) position [5] for a new total of 7\r\n"
              "   Injected a total of 4 additional events for a new total of 7\r\n"
              "      ~~~Adjusting upcoming script command #2 \"WAIT 1\" from event (0-based) index [2] to [6]\r\n");
    EXPECT_EQ(Play(""), 0);
    // Every character as written, whatever its key would be in one layout; a byte that is
    // no UTF-8 is the Windows-1252 character older files meant; what cannot be typed at
    // all (a control character, one the system cannot make) is left out and logged, and
    // nothing becomes a key it was not.
    Restart();
    remove(gLog.gszLogFile);
    gLog.gbLogLevel = LOG_LOW;
    fake::untypableCharacters = {0x1F600};
    EXPECT_EQ(Play("@\\~ Gr\xC3\xBC\xC3\x9F"
                   "e \xE2\x82\xAC\xE2\x80\x99\xD0\x96 caf\xE9\x80\x01\xF0\x9F\x98\x80!"),
              2 * 20);
    EXPECT_EQ(Typed(), "@\\~ Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\xE2\x80\x99\xD0\x96 caf\xC3\xA9\xE2\x82\xAC!");
    EXPECT_EQ(ReadFile(gLog.gszLogFile),
              "   Cannot type U+0001 in any layout: skipped\r\n   Cannot type U+1F600 in any layout: skipped\r\n");
    for (auto [message, key] : Inserted()) EXPECT_TRUE(IsCharacterRecord(key)) << key;
}

TEST_F(TypeExpansionTest, AltTokensSwitchToSystemKeys) {
    gLog.gbLogLevel = LOG_HIGH;
    EXPECT_EQ(Play("{ALTDOWN} rest is ignored"), 0);
    EXPECT_EQ(ReadFile(gLog.gszLogFile),
              "   +++Injecting events for {altdown}\r\n"
              "      ~~~Adjusting upcoming script command #2 \"WAIT 1\" from event (0-based) index [2] to [3]\r\n"
              "      +---Injected new event message 'WM_MENUDOWN' at (0-based) position [2] for a new total of 4\r\n");
    // Alt already down, {altdown} is nine keys pressed (an accelerator is a key); already
    // up, {altup} is seven characters typed.
    for (auto [text, n] : {std::pair{"aB", 4}, {"{altdown}", 18}, {"{l_altup}", 0}, {"{altup}", 14}}) {
        EXPECT_EQ(Play(text), n) << text;
    }
    Events events = Inserted();
    EXPECT_EQ(Events(events.begin(), events.begin() + 5),
              (Events{{SD, 18}, {SD, 'A'}, {SU, 'A'}, {SD, 'B'}, {SU, 'B'}}));
    EXPECT_EQ(Events(events.begin() + 23, events.begin() + 26), (Events{{SU, 164}, {KD, P('{')}, {KU, P('{')}}));
    Restart();
    for (const char* text : {"{r_altdown}", "{r_altup}", "{altdown}"}) Play(text);
    altDown = false;  // as at the start of a pass: {altup} is text again
    EXPECT_EQ(Play("{altup}"), 14);
    events = Inserted();
    EXPECT_EQ(Events(events.begin(), events.begin() + 3), (Events{{SD, 165}, {SU, 165}, {SD, 18}}));
}

TEST_F(TypeExpansionTest, ModifierAndKeyTokensPressOneKey) {
    for (const char* text :
         {"{shiftdown}", "{CtrlDown}", "{shiftup}", "{ctrlup}", "{pagedown}", "{down 5}", "{F5}", "{From}"}) {
        Play(text);
    }
    altDown = true;
    Play("{home}");
    EXPECT_EQ(Inserted(), (Events{{KD, 16}, {KD, 17}, {KU, 16}, {KU, 17}, {KD, 34}, {KU, 34}, {KD, 40}, {KU, 40},
                                  {KD, 116}, {KU, 116}, {KD, 219}, {KU, 219}, {SD, 36}, {SU, 36}}));
    gLog.gbLogLevel = LOG_HIGH;
    EXPECT_EQ(Play("{winkey}"), 0);
    EXPECT_EQ(gRecording.nEventCount, 17) << "the Windows key goes straight to the system";
    EXPECT_EQ(fake::keyEvents.size(), 2u);
    EXPECT_EQ(
        ReadFile(gLog.gszLogFile),
        "   +++Injecting events for {some non-printing key}\r\n   >>>Sending script key with Kelmor secret sauce\r\n");
    EXPECT_EQ(Play("{capslock}"), 20) << "no key-token trigger: typed as text (without Shift while Alt is down)";
}

TEST_F(TypeExpansionTest, PlaceholdersTypeTheirValuesWithinTheWorkingText) {
    gRecording.nCompletedPasses = 2;
    gSettings.gnLoopTypeBase = 100;
    Play("a{\\n}b{\\t}c{space}d{TAB}e{Return}f{newline}g{\\r}Save{enter}");
    Play("{date} {time} {DTNumber} {playbackloop} {random}-{random}");
    gRecording.nCompletedPasses = 0;
    // 2004-08-15 09:05:03.042 on the fake clock; 1011 is the unseeded generator's first draw
    // (41) scaled into the default 1000 ... 9999.
    EXPECT_EQ(Typed(), "a\nb\tc d\te\nf\ng\nSave\n08/15/2004 09:05:03 200408150905030042 103 1011-1011");

    // The working text is cut at 1023 characters, as given and as expanded.
    Restart();
    gLog.gbLogLevel = LOG_LOW;
    std::string text = "x", expected = "x";
    while (text.size() + 10 <= 1023) text += "{dtnumber}";
    while (expected.size() < 1023) expected += "200408150905030042";
    EXPECT_EQ(Play(text), 2 * 1023);
    EXPECT_EQ(Typed(), expected.substr(0, 1023));
    EXPECT_EQ(ReadFile(gLog.gszLogFile), "   TYPE text cut at 1023 characters while expanding {dtnumber}\r\n");
    Restart();
    EXPECT_EQ(Play(std::string(5000, 'q')), 2 * 1023);
}

TEST_F(TypeExpansionTest, InsertionsStopAtTheCapacity) {
    gLog.gbLogLevel = LOG_LOW;
    for (int32_t i = 2; i < EVENT_CAPACITY - 6; ++i) gRecordingStore.gEvents[i] = EVENTMSG{WM_KEYUP, 7, 0, 0, 0};
    gRecording.nEventCount = EVENT_CAPACITY - 5;
    gRecordingStore.nEventIndex[1] = gRecording.nEventCount - 1;
    EXPECT_EQ(Play("aBc"), 4) << "c needs two records, one is left";
    // A key's press and release go in together or not at all: neither {pagedown} fits in
    // the one record left, which the Alt press takes; the Alt release finds none.
    for (const char* text : {"{pagedown}", "{pagedown}", "{altdown}", "{altup}"}) Play(text);
    EXPECT_EQ(Play("xyz"), 0);
    EXPECT_TRUE(altDown) << "the Alt release found no room, so Alt is still down";
    EXPECT_EQ(gRecording.nEventCount, EVENT_CAPACITY);
    Events events = Inserted();
    EXPECT_EQ(Events(events.end() - 6, events.end()),
              (Events{{KU, 7}, {KD, P('a')}, {KU, P('a')}, {KD, P('B')}, {KU, P('B')}, {SD, 18}}));
    EXPECT_TRUE(Logged("   Event list full: the rest of the TYPE text not injected (2 more events needed, 32767 of "
                       "32768 records used)"));
    EXPECT_EQ(InjectTypedText(5, 4, "a", false), 0) << "a position off the end inserts nothing";
}
