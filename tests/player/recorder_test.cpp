#include <string>
#include <vector>

#include "host/mappings.h"
#include "player/playback_control.h"
#include "player/player.h"
#include "player/recorder.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/commands.h"

namespace {

const HWND32 kOtherWindow = 0x77;
const HWND32 kOwnButton = 0x42;

EVENTMSG Event(uint32_t message, uint32_t paramL, uint32_t time, HWND32 hwnd = kOtherWindow) {
    return EVENTMSG{message, paramL, 0, time, hwnd};
}
EVENTMSG Mouse(uint32_t message, uint32_t x, uint32_t y, uint32_t time, HWND32 hwnd = kOtherWindow) {
    return EVENTMSG{message, x, y, time, hwnd};
}

std::vector<uint32_t> Messages() {
    std::vector<uint32_t> out;
    for (int i = 0; i < nEventCount; ++i) out.push_back(gEvents[i].message);
    return out;
}

}  // namespace

class RecorderTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        fake::windows.push_back({kOtherWindow, "Editor", {0, 0, 100, 100}, false, false});
        fake::windows.push_back({kOwnButton, "Play", {0, 0, 10, 10}, false, true});
        fake::tickCount = 10000;
    }
    void Start() {
        SendCommand(ID_START_RECORDING);
        ASSERT_NE(ghJournalHook, 0);
        ASSERT_EQ(fake::journalKind, WH_JOURNALRECORD);
    }
    void Stop(uint32_t tick) {
        fake::tickCount = tick;
        SendCommand(ID_STOP_RECORDING);
    }
    void Click(uint32_t downTime, uint32_t upTime, uint32_t x, HWND32 hwnd = kOtherWindow) {
        fake::FeedRecord(Mouse(WM_LBUTTONDOWN, x, 20, downTime, hwnd));
        fake::FeedRecord(Mouse(WM_LBUTTONUP, x, 20, upTime, hwnd));
    }
    std::string Log() { return ReadFile(gszLogFile); }
};

TEST_F(RecorderTest, RecordsEventsAndClosesWithThePaintRecord) {
    gbLogLevel = LOG_LOW;
    gdwShowTrayIcon = 1000;
    nEventCount = 9;  // an older recording
    gEvents[8] = Event(WM_KEYDOWN, 'Z', 1);
    Start();
    EXPECT_FALSE(fake::commandEnabled[ID_START_RECORDING]);
    EXPECT_TRUE(fake::commandEnabled[ID_STOP_RECORDING]);
    ASSERT_EQ(fake::trayIcons.size(), 1u);
    EXPECT_EQ(fake::trayIcons[0].code, 1003);
    EXPECT_EQ(fake::trayIcons[0].tip, "Kelmor is recording");
    EXPECT_TRUE(gbModified);
    EXPECT_EQ(gEvents[8].message, 0u) << "the old recording is wiped";

    EVENTMSG key{WM_KEYDOWN, 0x1E41, 1, 10100, kOtherWindow};
    fake::FeedRecord(key);
    fake::FeedRecord(Event(WM_KEYUP, 0x1E41, 10180));
    fake::FeedRecord(Mouse(WM_MOUSEMOVE, 300, 200, 10250));
    Stop(10400);

    EXPECT_EQ(fake::journalHook, 0);
    EXPECT_EQ(ghJournalHook, 0);
    ASSERT_EQ(nEventCount, 4);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_KEYDOWN, WM_KEYUP, WM_MOUSEMOVE, 15}));
    EXPECT_EQ(gEvents[0].paramL, key.paramL);
    EXPECT_EQ(gEvents[0].paramH, key.paramH);
    EXPECT_EQ(gEvents[0].time, key.time);
    EXPECT_EQ(gEvents[0].hwnd, key.hwnd);
    EXPECT_EQ(gEvents[2].paramH, 200u);
    const EVENTMSG& closing = gEvents[3];
    EXPECT_EQ(closing.paramL, 0u);
    EXPECT_EQ(closing.paramH, 0u);
    EXPECT_EQ(closing.time, 10400u);
    EXPECT_EQ(closing.hwnd, 0u);
    EXPECT_TRUE(fake::commandEnabled[ID_START_RECORDING]);
    EXPECT_FALSE(fake::commandEnabled[ID_STOP_RECORDING]);
    EXPECT_EQ(fake::statusText, " ");

    const std::string log = Log();
    EXPECT_NE(log.find("\r\nStarting recording with Kelmor 3.13 at log level 1 on Windows Platform "), std::string::npos);
    EXPECT_NE(log.find("Start recording time: 10000 ticks\r\n"), std::string::npos);
    EXPECT_NE(log.find("End recording time: 10400 ticks (4 total actions: final action not logged)\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(log.find("RECORDING #"), std::string::npos) << "event lines are MEDIUM";
}

TEST_F(RecorderTest, EventLogLinesNameTheMessageOrPrintItsNumber) {
    gbLogLevel = LOG_MEDIUM;
    Start();
    fake::FeedRecord(EVENTMSG{WM_KEYDOWN, 0x1E41, 7, 10100, 0x1234});
    fake::FeedRecord(Mouse(WM_RBUTTONDOWN, 0x102F0, 5, 10200));
    const std::string log = Log();
    EXPECT_NE(log.find("RECORDING #1: hWnd=4660, Time=10100, Message=WM_KEYDOWN (paramL=0x1E41, paramH=0x7, "
                       "wParam=0x41, lParam=0x1E)\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("RECORDING #2: hWnd=119, Time=10200, Message=516 (paramL=0x102F0, paramH=0x5, wParam=0xF0, "
                       "lParam=0x2)\r\n"),
              std::string::npos);
}

TEST_F(RecorderTest, QuickSecondClickAddsDoubleClickRecords) {
    fake::doubleClickTime = 500;
    Start();
    Click(10000, 10050, 5);
    Click(10200, 10250, 6);  // 200 ms after the first up
    Click(10400, 10450, 7);  // 400 ms after the first plain up: another double click
    Stop(10500);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK,
                                                 WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONUP, 15}));
    // The double click carries the second up's place and time.
    EXPECT_EQ(gEvents[3].paramL, 6u);
    EXPECT_EQ(gEvents[3].paramH, 20u);
    EXPECT_EQ(gEvents[3].time, 10250u);
    EXPECT_EQ(gEvents[3].hwnd, kOtherWindow);
    EXPECT_EQ(gdwLastButtonUpTick, 10050u) << "only a plain up moves the tick";
}

TEST_F(RecorderTest, SlowSecondClickIsTwoPlainClicks) {
    fake::doubleClickTime = 500;
    Start();
    Click(10000, 10050, 5);
    Click(10800, 10850, 5);  // 800 ms after the first up
    Stop(10900);
    EXPECT_EQ(Messages(),
              (std::vector<uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP, 15}));
    EXPECT_EQ(gdwLastButtonUpTick, 10850u);
}

TEST_F(RecorderTest, DoubleClickTimingSurvivesTheTickWrapping) {
    Start();
    Click(0xFFFFFE00u, 0xFFFFFE80u, 5);
    Click(0xFFFFFF80u, 0xFFFFFFF0u, 5);  // 368 ms later, just before the wrap
    Click(0x00000010u, 0x00000060u, 5);  // 480 ms after the plain up, across the wrap
    Click(0x00000300u, 0x00000380u, 5);  // 1280 ms after it: a plain click again
    Stop(0x400);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK,
                                                 WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONUP,
                                                 WM_LBUTTONDOWN, WM_LBUTTONUP, 15}));
}

TEST_F(RecorderTest, StopKeyEndsTheRecordingWithoutBeingRecorded) {
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\Mappings\\123\\Action", REG_DWORD, nullptr, ACTION_STOP_RECORDING);
    ReadMappings();
    gbLogLevel = LOG_MEDIUM;
    Start();
    fake::FeedRecord(Event(WM_KEYDOWN, 'A', 10100));
    fake::FeedRecord(Event(WM_KEYUP, 'A', 10150));
    // With Alt held the key arrives as a system key and is recorded like any other.
    fake::FeedRecord(Event(WM_SYSKEYDOWN, 123, 10180));
    EXPECT_NE(ghJournalHook, 0);
    EXPECT_EQ(fake::FeedRecord(Event(WM_KEYDOWN, 0x5800 | 123, 10200)), 0);

    EXPECT_EQ(fake::journalHook, 0) << "the recording ended inside the hook call";
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, 15}));
    EXPECT_EQ(gEvents[3].time, 10200u);
    EXPECT_EQ(gEvents[4].message, 0u) << "the stop key is not stored behind the closing record";
    EXPECT_NE(Log().find("\"Stop Recording\" key pressed: 123\r\n"), std::string::npos);
}

TEST_F(RecorderTest, AltHeldKeysKeepTheirSystemMessages) {
    Start();
    fake::FeedRecord(Event(WM_SYSKEYDOWN, VK_MENU, 10100));
    fake::FeedRecord(Event(WM_SYSKEYDOWN, 'F', 10150));
    fake::FeedRecord(Event(WM_SYSKEYUP, 'F', 10200));
    fake::FeedRecord(Event(WM_KEYUP, VK_MENU, 10250));
    Stop(10300);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_KEYUP, 15}));
    EXPECT_EQ(gEvents[1].paramL, static_cast<uint32_t>('F'));
}

TEST_F(RecorderTest, OwnWindowInputIsLeftOutOnlyWhenAsked) {
    gbExcludeKelmorAction = 1;
    Start();
    Click(10000, 10050, 1, kOwnButton);
    fake::FeedRecord(Event(WM_KEYDOWN, 'A', 11000));
    Stop(11100);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_KEYDOWN, 15}));

    gbExcludeKelmorAction = 0;
    Start();
    Click(12000, 12050, 1, kOwnButton);
    Stop(12100);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, 15}));
    EXPECT_EQ(gEvents[0].hwnd, kOwnButton);
}

TEST_F(RecorderTest, OtherHookCodesRecordNothing) {
    Start();
    EVENTMSG event = Event(WM_KEYDOWN, 'A', 10100);
    EXPECT_EQ(fake::journalProc(HC_SKIP, 0, reinterpret_cast<intptr_t>(&event)), 0);
    EXPECT_EQ(fake::journalProc(-1, 0, reinterpret_cast<intptr_t>(&event)), 0);
    EXPECT_EQ(fake::nextHookCodes, std::vector<int>{-1});
    EXPECT_EQ(fake::journalProc(HC_ACTION, 0, 0), 0) << "no record, nothing to read";
    Stop(10200);
    EXPECT_EQ(Messages(), std::vector<uint32_t>{15});
}

TEST_F(RecorderTest, FullListDropsFurtherEvents) {
    Start();
    for (int i = 0; i < EVENT_LOAD_LIMIT - 2; ++i) {
        fake::FeedRecord(Mouse(WM_MOUSEMOVE, static_cast<uint32_t>(i), 0, 20000u + static_cast<uint32_t>(i)));
    }
    // Two records left: a plain up, then a quick second up whose double click takes the
    // last one, so the up itself no longer fits.
    fake::FeedRecord(Mouse(WM_LBUTTONUP, 1, 1, 60000));
    fake::FeedRecord(Mouse(WM_LBUTTONUP, 2, 2, 60100));
    EXPECT_EQ(nCurrentEvent, EVENT_LOAD_LIMIT);
    EXPECT_EQ(gEvents[EVENT_LOAD_LIMIT - 2].message, static_cast<uint32_t>(WM_LBUTTONUP));
    EXPECT_EQ(gEvents[EVENT_LOAD_LIMIT - 1].message, static_cast<uint32_t>(WM_LBUTTONDBLCLK));

    gbLogLevel = LOG_MEDIUM;
    fake::FeedRecord(Event(WM_KEYDOWN, 'A', 60200));
    EXPECT_NE(Log().find("RECORDING #32767: hWnd=119, Time=60200, Message=WM_KEYDOWN"), std::string::npos);
    EXPECT_EQ(nCurrentEvent, EVENT_LOAD_LIMIT);

    Stop(60300);
    ASSERT_EQ(nEventCount, EVENT_LOAD_LIMIT + 1);
    EXPECT_EQ(gEvents[EVENT_LOAD_LIMIT].message, 15u);
    EXPECT_EQ(gEvents[EVENT_LOAD_LIMIT].time, 60300u);
    EXPECT_EQ(gEvents[EVENT_LOAD_LIMIT + 1].message, 0u) << "nothing past the closing record";
}

TEST_F(RecorderTest, RefusedHookShowsTheFailureBox) {
    gbLogLevel = LOG_LOW;
    nEventCount = 5;
    fake::refuseJournalHook = true;
    SendCommand(ID_START_RECORDING);
    EXPECT_EQ(ghJournalHook, 0);
    ASSERT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(fake::messageBoxes[0].text, "Start Windows Recorder Failed!");
    EXPECT_EQ(fake::messageBoxes[0].caption, "Failure");
    EXPECT_EQ(fake::messageBoxes[0].style, gdwMsgBoxStyle | MB_ICONEXCLAMATION);
    EXPECT_NE(Log().find("Start Windows Recorder Failed!\r\n"), std::string::npos);
    EXPECT_EQ(nEventCount, 0) << "the wiped list must not keep the old count";
    EXPECT_TRUE(fake::commandEnabled[ID_STOP_RECORDING]) << "still busy; Stop Recording clears it";
    SendCommand(ID_STOP_RECORDING);
    EXPECT_EQ(nEventCount, 0);
    EXPECT_TRUE(fake::commandEnabled[ID_START_RECORDING]);
}

TEST_F(RecorderTest, RefusedUnhookStillClosesTheRecording) {
    gbLogLevel = LOG_LOW;
    Start();
    fake::FeedRecord(Event(WM_KEYDOWN, 'A', 10100));
    fake::refuseUnhook = true;
    Stop(10200);
    EXPECT_EQ(ghJournalHook, 0);
    EXPECT_EQ(nEventCount, 2);
    EXPECT_NE(Log().find("Unable to unhook windows hook after STOP command!\r\n"), std::string::npos);
}

TEST_F(RecorderTest, RecordingCommandsLeaveARunningPlaybackAlone) {
    for (int i = 0; i < 4; ++i) gEvents[i] = Event(i % 2 ? WM_KEYUP : WM_KEYDOWN, 'A', 1000u + 100u * i);
    nEventCount = 4;
    SendCommand(ID_PLAY);
    ASSERT_TRUE(gbPlayingNow);
    const intptr_t playbackHook = ghJournalHook;

    SendCommand(ID_START_RECORDING);
    SendCommand(ID_TRAY_START_RECORDING);
    SendCommand(ID_TRAY_STOP_RECORDING);
    OnMainWindowFocus();
    EXPECT_EQ(ghJournalHook, playbackHook);
    EXPECT_EQ(fake::journalKind, WH_JOURNALPLAYBACK);
    EXPECT_EQ(fake::journalInstalls, 1);
    EXPECT_EQ(gEvents[3].message, static_cast<uint32_t>(WM_KEYUP)) << "the list is not wiped";

    // Stop Recording from the menu while playing ends the playback without cutting the
    // recording at the read position.
    fake::RunPlayback(2);
    SendCommand(ID_STOP_RECORDING);
    EXPECT_EQ(ghJournalHook, 0);
    EXPECT_FALSE(gbPlayingNow);
    EXPECT_EQ(nEventCount, 4);
    EXPECT_EQ(gEvents[2].message, static_cast<uint32_t>(WM_KEYDOWN));
}

TEST_F(RecorderTest, TrayItemsStartAndStopWhenIdle) {
    SendCommand(ID_TRAY_START_RECORDING);
    ASSERT_NE(ghJournalHook, 0);
    fake::FeedRecord(Event(WM_KEYDOWN, 'A', 10100));
    fake::tickCount = 10200;
    SendCommand(ID_TRAY_STOP_RECORDING);
    EXPECT_EQ(ghJournalHook, 0);
    EXPECT_EQ(nEventCount, 2);
}

TEST_F(RecorderTest, FocusOnTheMinimisedWindowStopsTheRecording) {
    snprintf(gszFile, sizeof gszFile, "/home/me/rec/x.klx");
    gbMinimize = 1;
    Start();
    EXPECT_EQ(fake::windowTitle, "CLICK TO STOP RECORDING");
    EXPECT_EQ(fake::mainWindowShowCommands, std::vector<int>{SW_MINIMIZE});
    fake::FeedRecord(Event(WM_KEYDOWN, 'A', 10100));
    fake::tickCount = 10300;
    OnMainWindowFocus();
    EXPECT_EQ(ghJournalHook, 0);
    EXPECT_EQ(nEventCount, 2);
    EXPECT_EQ(fake::windowTitle, "Kelmor - x.klx");

    // Without Minimize the window keeps its title and the focus stops nothing.
    gbMinimize = 0;
    fake::windowTitle = "Kelmor - x.klx";
    Start();
    EXPECT_EQ(fake::mainWindowShowCommands.size(), 1u);
    OnMainWindowFocus();
    EXPECT_NE(ghJournalHook, 0);
}

TEST_F(RecorderTest, ExitDuringRecordingKeepsNoHalfRecording) {
    gbLogLevel = LOG_LOW;
    nEventCount = 6;
    Start();
    fake::FeedRecord(Event(WM_KEYDOWN, 'A', 10100));
    CancelJournalForExit("CANCELLED RECORDING: Kelmor Exit called\r\n");
    EXPECT_EQ(ghJournalHook, 0);
    EXPECT_EQ(fake::journalHook, 0);
    EXPECT_EQ(nEventCount, 0);
    EXPECT_NE(Log().find("CANCELLED RECORDING: Kelmor Exit called\r\n\r\n"), std::string::npos);
    CancelJournalForExit("CANCELLED RECORDING: Kelmor Close called\r\n");
    EXPECT_EQ(Log().find("Close called"), std::string::npos) << "nothing to cancel once idle";
}

TEST_F(RecorderTest, ExitDuringPlaybackGivesBackTheRecording) {
    for (int i = 0; i < 4; ++i) gEvents[i] = Event(i % 2 ? WM_KEYUP : WM_KEYDOWN, 'A', 1000u + 100u * i);
    nEventCount = 4;
    SendCommand(ID_PLAY);
    // What a script inserts during the pass.
    gEvents[4] = Event(WM_KEYDOWN, 'B', 1);
    nEventCount = 5;
    CancelJournalForExit("CANCELLED RECORDING: Kelmor Close called\r\n");
    EXPECT_EQ(ghJournalHook, 0);
    EXPECT_FALSE(gbPlayingNow);
    EXPECT_EQ(nEventCount, 4);
    EXPECT_EQ(gEvents[4].message, 0u);
}
