// The reference playback covers a found GOTO, WAIT at normal speed, a CLICK after GOTO and
// TYPE moving later commands; these cases cover what it does not reach.
#include "player/script_commands.h"

#include <cstdio>
#include <string>

#include "platform/journal.h"
#include "player/playback_control.h"
#include "player/player.h"
#include "recording/recording.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/run_mode.h"

class ScriptCommandsTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        gLog.gbLogLevel = LOG_HIGH;
    }
    // A command owning a new empty event at the end of the list; returns its index k.
    int32_t Add(int32_t keyword, const char* argument) {
        gRecordingStore.gEvents[gRecording.nEventCount] = EVENTMSG{};
        return AddScriptCommand(keyword, argument, gRecording.nEventCount++);
    }
    // Runs command k at its own empty event; returns -1 unless the command sets a delay.
    int32_t Run(int32_t k) {
        int32_t delay = -1;
        RunScriptCommand(k, gRecordingStore.nEventIndex[k], &delay);
        return delay;
    }
    // A playback in progress, as playback control leaves it at the start of a pass.
    void StartPass() {
        BackupRecording();
        gPlayer.ghJournalHook =
            SysSetJournalHook(WH_JOURNALPLAYBACK, [](int, uintptr_t, intptr_t) -> intptr_t { return 0; });
        gPlayer.gbPlayingNow = true;
    }
    HWND32 AddWindow(const std::string& title, RECT32 rect = {0, 0, 10, 10}, bool minimized = false) {
        HWND32 handle = static_cast<HWND32>(0x1000 + fake::windows.size());
        fake::windows.push_back({handle, title, rect, minimized, false});
        return handle;
    }
    // The click that command k inserted behind its empty event.
    const EVENTMSG& Click(int32_t k) { return gRecordingStore.gEvents[gRecordingStore.nEventIndex[k] + 1]; }
};

TEST_F(ScriptCommandsTest, GotoActivatesTheFirstTitleHoldingTheTextInAnyCase) {
    HWND32 window = AddWindow(std::string(120, 'x') + "target!!!!");  // "target" ends at 126
    EXPECT_EQ(FindWindowByTitle("target"), window);
    EXPECT_EQ(FindWindowByTitle("TARGET!"), 0u);
    EXPECT_EQ(FindWindowByTitle(""), 0u);

    int32_t k = Add(KW_GOTO, "NotePad");
    HWND32 first = AddWindow("readme.txt - notepad", {0, 0, 10, 10}, true);
    HWND32 second = AddWindow("NOTEPAD");
    fake::windows[2].own = true;
    Run(k);
    fake::windows.erase(fake::windows.begin() + 1);
    Run(k);
    EXPECT_EQ(fake::activated, (std::vector<HWND32>{first, second})) << "the program's own windows take part";
    ASSERT_EQ(fake::showCalls.size(), 2u);
    EXPECT_EQ(fake::showCalls[0].command, SW_RESTORE) << "a minimised window is restored";
    EXPECT_EQ(fake::showCalls[1].command, SW_SHOWNA);
}

TEST_F(ScriptCommandsTest, WaitReadsWholeSecondsScaledBySpeedNeverNegativeNorOverflowing) {
    const struct { const char* argument; uint8_t speed; int32_t expected; } cases[] = {
        {"3", 1, 12000}, {"3", 2, 3000}, {"3", 3, 200}, {"3", 4, 0}, {"  +2", 2, 2000}, {"\t4 s", 2, 4000},
        {"1.9", 2, 1000}, {"x5", 2, 0}, {"-3", 2, 0}, {"", 2, 0}, {"99999999999999999999999", 2, INT32_MAX}};
    for (const auto& c : cases) {
        gSettings.gbSpeed = c.speed;
        fake::tickCount += 1000;
        EXPECT_EQ(Run(Add(KW_WAIT, c.argument)), c.expected) << c.argument << " at speed " << int(c.speed);
        EXPECT_EQ(gPlayer.lWaitDuration, c.expected);
        EXPECT_EQ(gPlayer.dwDelayStart, fake::tickCount);
    }
    gSettings.gnFactorSlow = INT32_MAX;
    gSettings.gnFactorFast = 0;  // a broken stored factor divides by one
    for (uint8_t speed : {1, 3}) {
        gSettings.gbSpeed = speed;
        EXPECT_EQ(Run(Add(KW_WAIT, "99999999999")), INT32_MAX) << "speed " << int(speed);
    }
}

TEST_F(ScriptCommandsTest, ClickReadsTwoRunsOfAtMostEightDigitsFromTheGotoOrForegroundWindow) {
    fake::foregroundWindow = AddWindow("Front", {30, 40, 100, 100});
    int32_t k = Add(KW_CLICK, "1 2");
    Run(k);
    EXPECT_TRUE(Logged("   ERROR: The 'GOTO' command should be used before the 'CLICK' command"));
    EXPECT_EQ(gPlayer.ghGotoWindow, fake::foregroundWindow) << "it serves later clicks too";
    EXPECT_EQ(Click(k).paramL, 31u);
    EXPECT_EQ(Click(k).paramH, 42u);

    AddWindow("Origin");
    AddWindow("Far", {INT32_MAX - 5, INT32_MIN, 0, 0});
    // Each row clicks in the window of the latest GOTO, run first where the row names one.
    const struct { const char* window; const char* argument; int32_t x, y; } cases[] = {
        {"Origin", "10 20", 10, 20}, {nullptr, "10,20", 10, 20}, {nullptr, "10, 20", 10, 20},
        {nullptr, " 10 20", 0, 10}, {nullptr, "(10,20)", 0, 10}, {nullptr, "7", 7, 0}, {nullptr, "", 0, 0},
        {nullptr, "123456789,5", 12345678, 9}, {"Far", "99999999 0", INT32_MAX, INT32_MIN}};
    for (const auto& c : cases) {
        if (c.window != nullptr) Run(Add(KW_GOTO, c.window));
        k = Add(KW_CLICK, c.argument);
        Run(k);
        EXPECT_EQ(static_cast<int32_t>(Click(k).paramL), c.x) << c.argument;
        EXPECT_EQ(static_cast<int32_t>(Click(k).paramH), c.y) << c.argument;
    }
}

TEST_F(ScriptCommandsTest, ClickInsertsBothEventsOrNone) {
    int32_t k = Add(KW_CLICK, "1,1");
    int32_t later = Add(KW_WAIT, "1");
    gRecording.nEventCount = EVENT_CAPACITY - 1;
    Run(k);
    EXPECT_EQ(gRecording.nEventCount, EVENT_CAPACITY - 1);
    EXPECT_EQ(gRecordingStore.nEventIndex[later], 1) << "nothing shifted";
    EXPECT_EQ(Click(k).message, 0u);
    EXPECT_TRUE(
        Logged("   Event list full: CLICK '1,1' not injected (2 more events needed, 32767 of 32768 records used)"));

    gRecording.nEventCount = EVENT_CAPACITY - 2;
    Run(k);
    EXPECT_EQ(gRecording.nEventCount, EVENT_CAPACITY);
    EXPECT_EQ(gRecordingStore.nEventIndex[later], 3);
}

TEST_F(ScriptCommandsTest, StartOfAConsoleMinimisesTheMainWindowUntilThePlaybackEnds) {
    int32_t k = Add(KW_START, "cmd.exe /k dir");
    gSettings.gbPlayUpdate = 2;
    StartPass();
    Run(k);
    EXPECT_EQ(fake::startedPrograms, std::vector<std::string>{"cmd.exe /k dir"});
    Run(k);  // already minimised: restored first so the minimise takes effect
    EXPECT_EQ(fake::mainWindowShowCommands, (std::vector<int>{SW_MINIMIZE, SW_RESTORE, SW_MINIMIZE}));
    StopAndResetPlayback(false);
    EXPECT_FALSE(fake::mainWindowMinimized);

    // Other programs and other run modes leave the window alone.
    fake::mainWindowShowCommands.clear();
    Run(Add(KW_START, "xterm"));
    EXPECT_EQ(fake::windowTitle, "Script Line 2 of 2...") << "PlayUpdate 2 shows each command's line";
    gRun.gnRunMode = RUN_COMMAND_LINE;
    Run(k);
    EXPECT_TRUE(fake::mainWindowShowCommands.empty());
    EXPECT_EQ(gPlayer.gbConsoleMinimized, 0);
}

TEST_F(ScriptCommandsTest, FailedStartOrGotoPlaysOnOrStopsWithAWarningCaptionedByTheArgument) {
    fake::startProgramSucceeds = false;
    StartPass();
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\HaltScriptOnError", REG_DWORD, nullptr, 0);
    Run(Add(KW_START, "missing.exe"));
    EXPECT_TRUE(Logged("   ERROR: Unable to START the program 'missing.exe'!"));
    // A missing window is searched for once without a wait, and five times over two seconds.
    int32_t k = Add(KW_GOTO, "Calculator");
    AddWindow("Editor");
    gSettings.gbGOTOWait = 0;
    EXPECT_EQ(Run(k), 250);
    EXPECT_EQ(fake::tickCount, 0u);
    gSettings.gbGOTOWait = 2;
    // Each failed search answers with the 500 ms pause; the next offer searches again.
    std::vector<int32_t> delays{Run(k)};
    for (int32_t d = 0; delays.back() == 500 && ContinueScriptCommand(gRecordingStore.nEventIndex[k], &d);) {
        delays.push_back(d);
    }
    EXPECT_EQ(delays, (std::vector<int32_t>{500, 500, 500, 500, 500, 250}));
    EXPECT_EQ(fake::windowEnumerations, 1 + 5);
    EXPECT_EQ(fake::tickCount, 0u) << "the hook itself never sleeps";
    EXPECT_TRUE(Logged("   Unable to find window 'Calculator', trying again..."));
    EXPECT_TRUE(Logged("   ERROR: Unable to find window 'Calculator'!"));
    EXPECT_NE(fake::journalHook, 0);
    EXPECT_TRUE(fake::messageBoxes.empty()) << "HaltScriptOnError 0 plays on";

    DeleteRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\HaltScriptOnError");  // halting is the default
    gSettings.gbQuitWhenDone = 1;
    Run(Add(KW_START, "cmd.exe /c missing"));
    EXPECT_EQ(fake::journalHook, 0) << "final stop";
    ExpectBox("Unable to START the program 'cmd.exe /c missing'!\n\n(NOTE: Try to copy the correct command from the "
              "\"Exec\" line of its .desktop launcher)\n\nThe playback has stopped.", "cmd.exe /c missing", 0x1030u);
    EXPECT_EQ(fake::postedCommands, std::deque<int>{ID_EXIT});
    EXPECT_TRUE(fake::mainWindowShowCommands.empty()) << "no playback is left to restore the window";

    // Without QuitWhenDone only a run outside the window exits.
    fake::postedCommands.clear();
    gSettings.gbQuitWhenDone = 0;
    gSettings.gbGOTOWait = 0;
    k = Add(KW_GOTO, "Nowhere");
    StartPass();
    Run(k);
    EXPECT_EQ(fake::messageBoxes.back().text,
              "Unable to find and GOTO window with the title 'Nowhere'!\n\nThe playback has stopped.");
    EXPECT_TRUE(fake::postedCommands.empty());
    gRun.gnRunMode = RUN_COMMAND_LINE;
    StartPass();
    Run(k);
    EXPECT_EQ(fake::postedCommands, std::deque<int>{ID_EXIT});
}

TEST_F(ScriptCommandsTest, GotoRetriesAreDelaysTheSystemWaitsBetweenSearches) {
    gSettings.gbGOTOWait = 2;
    Add(KW_GOTO, "Calculator");
    gRecordingStore.gEvents[gRecording.nEventCount++] = EVENTMSG{WM_KEYDOWN, 'A', 1, 0, 0};
    // The window appears while the system waits after the second search.
    std::vector<int32_t> waits;
    fake::actualWait = [&](int32_t requested) {
        waits.push_back(requested);
        if (waits.size() == 2) AddWindow("Calculator");
        return requested;
    };
    SendCommand(ID_PLAY);
    fake::RunPlayback();
    EXPECT_EQ(waits, (std::vector<int32_t>{500, 500, 250}));
    EXPECT_EQ(fake::windowEnumerations, 3);
    EXPECT_EQ(gPlayer.ghGotoWindow, fake::windows[0].handle);
    ASSERT_EQ(fake::delivered.size(), 1u);
    EXPECT_EQ(fake::deliveredAt[0], 1250u) << "the key after the search's own pauses and 250 ms";
}
