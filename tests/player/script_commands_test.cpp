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

namespace {
intptr_t IdleHook(int, uintptr_t, intptr_t) { return 0; }
}  // namespace

class ScriptCommandsTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        gbLogLevel = LOG_HIGH;
    }
    void TearDown() override {
        gnRunMode = RUN_INTERACTIVE;
        ghJournalHook = 0;
        gbPlayingNow = false;
        CoreTest::TearDown();
    }

    // A command owning a new empty event at the end of the list; returns its index k.
    int32_t Add(int32_t keyword, const char* argument) {
        gEvents[nEventCount] = EVENTMSG{};
        nKeyword[nScriptCommands] = keyword;
        snprintf(szArgument[nScriptCommands], SCRIPT_ARG_SIZE, "%s", argument);
        nEventIndex[nScriptCommands] = nEventCount++;
        return nScriptCommands++;
    }
    // Runs command k at its own empty event; *delay is -1 unless the command sets it.
    bool Run(int32_t k, int32_t* delay = nullptr) {
        int32_t unused;
        if (delay == nullptr) delay = &unused;
        *delay = -1;
        return RunScriptCommand(k, nEventIndex[k], delay);
    }
    int32_t Delay(int32_t k) {
        int32_t delay;
        Run(k, &delay);
        return delay;
    }
    // A playback in progress, as playback control leaves it at the start of a pass.
    void StartPass() {
        BackupRecording();
        ghJournalHook = SysSetJournalHook(WH_JOURNALPLAYBACK, IdleHook);
        gbPlayingNow = true;
    }
    HWND32 AddWindow(const std::string& title, RECT32 rect = {0, 0, 10, 10}, bool minimized = false) {
        HWND32 handle = static_cast<HWND32>(0x1000 + fake::windows.size());
        fake::windows.push_back({handle, title, rect, minimized, false});
        return handle;
    }
    // The click that command k inserted behind its empty event.
    const EVENTMSG& Click(int32_t k) { return gEvents[nEventIndex[k] + 1]; }
    bool Logged(const std::string& line) { return ReadFile(gszLogFile).find(line + "\r\n") != std::string::npos; }
};

TEST_F(ScriptCommandsTest, GotoSearchesOnceWithoutWaitAndFiveTimesOverTwoSeconds) {
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\HaltScriptOnError", REG_DWORD, nullptr, 0);
    int32_t k = Add(KW_GOTO, "Calculator");
    AddWindow("Editor");
    gbGOTOWait = 0;
    EXPECT_EQ(Delay(k), 250);
    EXPECT_EQ(fake::windowEnumerations, 1);
    EXPECT_EQ(fake::tickCount, 0u);

    gbGOTOWait = 2;
    EXPECT_EQ(Delay(k), 250) << "found or not";
    EXPECT_EQ(fake::windowEnumerations, 1 + 5);
    EXPECT_EQ(fake::tickCount, 2500u) << "500 ms after each search";
    EXPECT_TRUE(Logged("   Unable to find window 'Calculator', trying again..."));
    EXPECT_TRUE(Logged("   ERROR: Unable to find window 'Calculator'!"));
    EXPECT_TRUE(fake::messageBoxes.empty()) << "HaltScriptOnError 0 plays on";
}

TEST_F(ScriptCommandsTest, GotoActivatesTheFirstTitleHoldingTheTextInAnyCase) {
    int32_t k = Add(KW_GOTO, "NotePad");
    AddWindow("Calculator");
    HWND32 first = AddWindow("readme.txt - notepad", {0, 0, 10, 10}, true);
    HWND32 second = AddWindow("NOTEPAD");
    fake::windows[2].own = true;

    EXPECT_TRUE(Run(k));
    EXPECT_EQ(ghGotoWindow, first);
    EXPECT_EQ(fake::activated, std::vector<HWND32>{first});
    ASSERT_EQ(fake::showCalls.size(), 1u);
    EXPECT_EQ(fake::showCalls[0].command, SW_RESTORE) << "a minimised window is restored";

    fake::windows.erase(fake::windows.begin() + 1);
    Run(k);
    EXPECT_EQ(ghGotoWindow, second) << "the program's own windows take part";
    EXPECT_EQ(fake::showCalls.back().command, SW_SHOWNA);
    EXPECT_TRUE(Logged("   Found window 'NotePad'"));
}

TEST_F(ScriptCommandsTest, OnlyTheFirst126CharactersOfATitleTakePart) {
    HWND32 window = AddWindow(std::string(120, 'x') + "target!!!!");  // "target" ends at 126
    EXPECT_EQ(FindWindowByTitle("target"), window);
    EXPECT_EQ(FindWindowByTitle("TARGET!"), 0u);
    EXPECT_EQ(FindWindowByTitle(""), 0u);
}

TEST_F(ScriptCommandsTest, WaitScalesBySpeedAndBecomesThePendingDelay) {
    int32_t k = Add(KW_WAIT, "3");
    const int32_t expected[] = {0, 12000, 3000, 200, 0};  // by speed 1 to 4
    for (uint8_t speed = 1; speed <= 4; ++speed) {
        gbSpeed = speed;
        fake::tickCount += 1000;
        EXPECT_EQ(Delay(k), expected[speed]) << "speed " << int(speed);
        EXPECT_EQ(lDelay, expected[speed]);
        EXPECT_EQ(lWaitDuration, expected[speed]);
        EXPECT_EQ(dwDelayStart, fake::tickCount);
    }
    EXPECT_TRUE(Logged("   >>>Sending WAIT command duration 12000 at 1000"));
}

TEST_F(ScriptCommandsTest, WaitReadsWholeSecondsAndNeverGoesNegativeOrOverflows) {
    const struct {
        const char* argument;
        int32_t expected;
    } cases[] = {{"  +2", 2000}, {"\t4 s", 4000}, {"1.9", 1000}, {"x5", 0},
                 {"-3", 0},      {"", 0},         {"99999999999999999999999", INT32_MAX}};
    for (const auto& c : cases) EXPECT_EQ(Delay(Add(KW_WAIT, c.argument)), c.expected) << c.argument;

    int32_t k = Add(KW_WAIT, "99999999999");
    gbSpeed = 1;
    gnFactorSlow = INT32_MAX;
    EXPECT_EQ(Delay(k), INT32_MAX);
    gbSpeed = 3;
    gnFactorFast = 0;  // a broken stored factor divides by one
    EXPECT_EQ(Delay(k), INT32_MAX);
}

TEST_F(ScriptCommandsTest, ClickAfterGotoInsertsBothButtonsAtTheWindowOffset) {
    HWND32 window = AddWindow("Target", {100, 50, 400, 300});
    int32_t go = Add(KW_GOTO, "target");
    int32_t click = Add(KW_CLICK, "10,20");
    gEvents[nEventCount++] = EVENTMSG{WM_KEYDOWN, 'A', 0, 100, 0};
    int32_t later = Add(KW_TYPE, "x");

    Run(go);
    EXPECT_FALSE(Run(click));
    ASSERT_EQ(nEventCount, 4 + 2);
    for (int n : {2, 3}) {
        EXPECT_EQ(gEvents[n].message, uint32_t(n == 2 ? WM_LBUTTONDOWN : WM_LBUTTONUP));
        EXPECT_EQ(gEvents[n].paramL, 110u);
        EXPECT_EQ(gEvents[n].paramH, 70u);
        EXPECT_EQ(gEvents[n].time, 0u);
        EXPECT_EQ(gEvents[n].hwnd, window);
    }
    EXPECT_EQ(gEvents[4].paramL, uint32_t('A'));
    EXPECT_EQ(nEventIndex[click], 1);
    EXPECT_EQ(nEventIndex[later], 3 + 2);
    EXPECT_TRUE(Logged("   Mouse clicking at screen coordinate (110, 70)..."));
    EXPECT_TRUE(Logged("   >>>Continuing after non-Windows Event #2"));
}

TEST_F(ScriptCommandsTest, ClickReadsTwoRunsOfAtMostEightDigitsAndClamps) {
    AddWindow("Origin");
    Run(Add(KW_GOTO, "Origin"));
    const struct {
        const char* argument;
        uint32_t x, y;
    } cases[] = {{"10 20", 10, 20}, {"10,20", 10, 20}, {"10, 20", 10, 20}, {" 10 20", 0, 10},
                 {"(10,20)", 0, 10}, {"7", 7, 0},      {"", 0, 0},         {"123456789,5", 12345678, 9}};
    for (const auto& c : cases) {
        int32_t k = Add(KW_CLICK, c.argument);
        Run(k);
        EXPECT_EQ(Click(k).paramL, c.x) << c.argument;
        EXPECT_EQ(Click(k).paramH, c.y) << c.argument;
    }
    AddWindow("Far", {INT32_MAX - 5, INT32_MIN, 0, 0});
    Run(Add(KW_GOTO, "Far"));
    int32_t k = Add(KW_CLICK, "99999999 0");
    Run(k);
    EXPECT_EQ(static_cast<int32_t>(Click(k).paramL), INT32_MAX);
    EXPECT_EQ(static_cast<int32_t>(Click(k).paramH), INT32_MIN);
}

TEST_F(ScriptCommandsTest, ClickWithoutGotoUsesTheForegroundWindow) {
    fake::foregroundWindow = AddWindow("Front", {30, 40, 100, 100});
    int32_t k = Add(KW_CLICK, "1 2");
    Run(k);
    EXPECT_TRUE(Logged("   ERROR: The 'GOTO' command should be used before the 'CLICK' command"));
    EXPECT_EQ(ghGotoWindow, fake::foregroundWindow) << "it serves later clicks too";
    EXPECT_EQ(Click(k).paramL, 31u);
    EXPECT_EQ(Click(k).paramH, 42u);
}

TEST_F(ScriptCommandsTest, ClickInsertsBothEventsOrNone) {
    int32_t k = Add(KW_CLICK, "1,1");
    int32_t later = Add(KW_WAIT, "1");
    nEventCount = EVENT_CAPACITY - 1;
    Run(k);
    EXPECT_EQ(nEventCount, EVENT_CAPACITY - 1);
    EXPECT_EQ(nEventIndex[later], 1) << "nothing shifted";
    EXPECT_EQ(Click(k).message, 0u);
    EXPECT_TRUE(Logged("   Event list full: CLICK '1,1' not injected (2 more events needed, 32767 of 32768 records used)"));

    nEventCount = EVENT_CAPACITY - 2;
    Run(k);
    EXPECT_EQ(nEventCount, EVENT_CAPACITY);
    EXPECT_EQ(nEventIndex[later], 3);
}

TEST_F(ScriptCommandsTest, StartOfAConsoleMinimisesTheMainWindowUntilThePlaybackEnds) {
    int32_t k = Add(KW_START, "cmd.exe /k dir");
    StartPass();
    EXPECT_FALSE(Run(k));
    EXPECT_EQ(fake::startedPrograms, std::vector<std::string>{"cmd.exe /k dir"});
    EXPECT_EQ(fake::mainWindowShowCommands, std::vector<int>{SW_MINIMIZE});
    Run(k);  // already minimised: restored first so the minimise takes effect
    EXPECT_EQ(fake::mainWindowShowCommands, (std::vector<int>{SW_MINIMIZE, SW_RESTORE, SW_MINIMIZE}));
    EXPECT_EQ(gbConsoleMinimized, 2);
    StopAndResetPlayback(false);
    EXPECT_FALSE(fake::mainWindowMinimized);

    // Other programs and other run modes leave the window alone.
    fake::mainWindowShowCommands.clear();
    Run(Add(KW_START, "xterm"));
    gnRunMode = RUN_COMMAND_LINE;
    Run(k);
    EXPECT_TRUE(fake::mainWindowShowCommands.empty());
    EXPECT_EQ(gbConsoleMinimized, 0);
}

TEST_F(ScriptCommandsTest, StartFailurePlaysOnWhenScriptsMayNotHalt) {
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\HaltScriptOnError", REG_DWORD, nullptr, 0);
    fake::startProgramSucceeds = false;
    int32_t k = Add(KW_START, "missing.exe");
    StartPass();
    EXPECT_FALSE(Run(k));
    EXPECT_TRUE(Logged("   ERROR: Unable to START the program 'missing.exe'!"));
    EXPECT_TRUE(fake::messageBoxes.empty());
    EXPECT_NE(fake::journalHook, 0);
}

TEST_F(ScriptCommandsTest, HaltingErrorsStopAndWarnCaptionedByTheArgument) {
    fake::startProgramSucceeds = false;
    int32_t k = Add(KW_START, "cmd.exe /c missing");
    StartPass();
    gEvents[nEventCount++] = EVENTMSG{WM_KEYDOWN, 'B', 0, 0, 0};  // inserted during the pass
    gnRunMode = RUN_COMMAND_LINE;
    EXPECT_FALSE(Run(k));
    EXPECT_EQ(fake::journalHook, 0) << "final stop";
    EXPECT_EQ(nEventCount, 1);
    ASSERT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(fake::messageBoxes[0].caption, "cmd.exe /c missing");
    EXPECT_EQ(fake::messageBoxes[0].style, 0x1030u);
    EXPECT_EQ(fake::messageBoxes[0].text,
              "Unable to START the program 'cmd.exe /c missing'!\n\n(NOTE: Try to copy the correct program path "
              "from the \"Properties\" of its icon)\n\nThe playback has stopped.");
    EXPECT_EQ(fake::postedCommands, std::deque<int>{ID_EXIT});
    EXPECT_TRUE(fake::mainWindowShowCommands.empty()) << "no playback is left to restore the window";

    // Interactive: exit only with QuitWhenDone.
    fake::postedCommands.clear();
    gnRunMode = RUN_INTERACTIVE;
    gbGOTOWait = 0;
    k = Add(KW_GOTO, "Nowhere");
    StartPass();
    EXPECT_EQ(Delay(k), 250);
    EXPECT_EQ(fake::journalHook, 0);
    EXPECT_EQ(fake::messageBoxes.back().text,
              "Unable to find and GOTO window with the title 'Nowhere'!\n\nThe playback has stopped.");
    EXPECT_TRUE(fake::postedCommands.empty());
    gbQuitWhenDone = 1;
    StartPass();
    Run(k);
    EXPECT_EQ(fake::postedCommands, std::deque<int>{ID_EXIT});
}

TEST_F(ScriptCommandsTest, TypeCountsItsEventsAndMovesLaterCommands) {
    int32_t k = Add(KW_TYPE, "ab");
    int32_t later = Add(KW_WAIT, "1");
    EXPECT_FALSE(Run(k));
    EXPECT_EQ(nEventCount, 2 + 4) << "a press and a release per letter";
    EXPECT_EQ(nEventIndex[later], 1 + 4);
}

TEST_F(ScriptCommandsTest, UnknownKindGetsThePrologueAndTheContinuationLineOnly) {
    gEvents[nEventCount++] = EVENTMSG{WM_KEYDOWN, 'A', 0, 0, 0};
    Add(KW_WAIT, "0");
    int32_t k = Add(9, "whatever");
    gbPlayUpdate = 2;
    EXPECT_FALSE(Run(k));
    EXPECT_EQ(nEventCount, 3);
    EXPECT_EQ(fake::windowTitle, "Script Line 2 of 2...");
    EXPECT_EQ(ReadFile(gszLogFile),
              "PLAY EVENT #3: Script Command #2:  'whatever'\r\n"
              "   >>>Continuing after non-Windows Event #3\r\n");
}

// The whole path: the playback hook runs the commands and the fake system delivers the click.
TEST_F(ScriptCommandsTest, APlaybackDeliversTheClickAndWaitsOutTheWait) {
    HWND32 window = AddWindow("Target", {100, 50, 400, 300});
    Add(KW_GOTO, "Target");
    Add(KW_WAIT, "2");
    Add(KW_CLICK, "10 20");
    gEvents[nEventCount++] = EVENTMSG{WM_KEYDOWN, 'A', 0, 5000, 0};
    SendCommand(ID_PLAY);
    ASSERT_EQ(fake::RunPlayback(), 3);
    EXPECT_EQ(fake::delivered[0].message, uint32_t(WM_LBUTTONDOWN));
    EXPECT_EQ(fake::delivered[1].message, uint32_t(WM_LBUTTONUP));
    EXPECT_EQ(fake::delivered[1].paramL, 110u);
    EXPECT_EQ(fake::delivered[1].hwnd, window);
    EXPECT_EQ(fake::deliveredAt[0], 250u + 2000u) << "the GOTO's 250 ms, then the whole wait";
    EXPECT_EQ(nEventCount, 4) << "the pass's insertions are undone";
}
