#include <cstring>
#include <vector>

#include "recording/recording.h"
#include "settings/log.h"
#include "tests/test_support.h"
#include "text/no_case.h"

namespace {

EVENTMSG Key(uint32_t vk) { return EVENTMSG{WM_KEYDOWN, vk, 0, 0, 0}; }

}  // namespace

class RecordingStoreTest : public CoreTest {};

// The log lines of both are pinned by the type expansion and reference playback tests.
TEST_F(RecordingStoreTest, InsertEventMovesLaterRecordsUpAndRefusesAFullList) {
    for (uint32_t vk = 1; vk <= 3; ++vk) gRecordingStore.gEvents[gRecording.nEventCount++] = Key(vk);
    EVENTMSG added = Key(99);
    ASSERT_EQ(InsertEvent(0, gRecording.nEventCount, &added, "WM_KEYDOWN"), 1);
    EXPECT_EQ(gRecording.nEventCount, 3) << "callers count the new record themselves";
    ASSERT_EQ(InsertEvent(4, 4, &added, "WM_KEYUP"), 1);  // at the end it only stores
    const uint32_t expected[] = {99, 1, 2, 3, 99};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(gRecordingStore.gEvents[i].paramL, expected[i]) << i;
    EXPECT_EQ(gRecordingStore.gEvents[5].message, 0u);
    gLog.gbLogLevel = LOG_LOW;
    gRecording.nEventCount = EVENT_CAPACITY;
    gRecordingStore.gEvents[EVENT_CAPACITY - 1] = Key(7);
    EXPECT_EQ(InsertEvent(5, gRecording.nEventCount, &added, "WM_*UP"), 0);
    EXPECT_EQ(gRecordingStore.gEvents[EVENT_CAPACITY - 1].paramL, 7u) << "a refused insertion changes nothing";
    EXPECT_EQ(InsertEvent(-1, 3, &added, "WM_*UP"), 0);
    EXPECT_NE(ReadFile(gLog.gszLogFile).find("Event list full: event message 'WM_*UP' not injected"),
              std::string::npos);
}

TEST_F(RecordingStoreTest, ShiftScriptCommandsMovesCommandsAtOrAfterThePosition) {
    AddScriptCommand(KW_GOTO, "Notepad", 2);
    AddScriptCommand(KW_TYPE, "Hi", 5);
    AddScriptCommand(KW_WAIT, "1 ", 9);
    gLog.gbLogLevel = LOG_HIGH;
    ShiftScriptCommands(0, 0);
    EXPECT_FALSE(FileExists(gLog.gszLogFile)) << "a zero shift moves and logs nothing";
    ShiftScriptCommands(5, 6);
    EXPECT_EQ(std::vector<int32_t>(gRecordingStore.nEventIndex, gRecordingStore.nEventIndex + 3),
              (std::vector<int32_t>{2, 11, 15}));
}

TEST(FindNoCase, MatchesIgnoringAsciiCase) {
    const char* text = "type {ALTDOWN}x";
    EXPECT_EQ(FindNoCase(text, "{altdown}"), text + 5);
    EXPECT_EQ(FindNoCase(text, ""), nullptr);
    EXPECT_EQ(FindNoCase(text, "{altup}"), nullptr);
    EXPECT_EQ(FindNoCase("\xC4", "\xE4"), nullptr) << "only ASCII letters fold";
    EXPECT_EQ(FindNoCase("ab", "abc"), nullptr);
}

TEST(ReplaceAllNoCase, ReplacesEveryOccurrenceAndResumesBehindIt) {
    struct Case {
        const char *text, *pattern, *replacement, *result;
        int count;
    } cases[] = {{"a{tab}b{TAB}", "{tab}", "\t", "a\tb\t", 2},
                 {"xx", "x", "xx", "xxxx", 2},
                 {"2 seconds", "seconds", "", "2 ", 1}};
    for (const Case& c : cases) {
        char text[32];
        strcpy(text, c.text);
        EXPECT_EQ(ReplaceAllNoCase(text, c.pattern, c.replacement), c.count) << c.text;
        EXPECT_STREQ(text, c.result);
    }
    EXPECT_EQ(ReplaceAllNoCase(nullptr, "a", "b"), 0);
}

TEST(ReplaceAllNoCase, BoundedFormCutsInsteadOfOverrunning) {
    char buf[12];
    memset(buf, 'Z', sizeof buf);
    strcpy(buf, "a{d}b{d}");  // 8 characters
    bool cut = false;
    // Each {d} grows to 10 characters; only 11 fit.
    EXPECT_GE(ReplaceAllNoCaseBounded(buf, 12, "{d}", "0123456789", &cut), 1);
    EXPECT_TRUE(cut);
    EXPECT_EQ(strlen(buf), 11u);
    EXPECT_STREQ(buf, "a0123456789");
    strcpy(buf, "a{d}");
    EXPECT_EQ(ReplaceAllNoCaseBounded(buf, 12, "{d}", "xy", &cut), 1);
    EXPECT_FALSE(cut);
    EXPECT_STREQ(buf, "axy");
}
