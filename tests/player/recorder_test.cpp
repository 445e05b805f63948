#include <string>
#include <vector>

#include "host/mappings.h"
#include "player/playback_control.h"
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

const HWND32 kOther = 0x77, kOwnButton = 0x42;

void Feed(uint32_t message, uint32_t paramL, uint32_t time, HWND32 hwnd = kOther) {
    fake::FeedRecord(EVENTMSG{message, paramL, 20, time, hwnd});
}
void Stop(uint32_t tick) {
    fake::tickCount = tick;
    SendCommand(ID_STOP_RECORDING);
}
std::vector<uint32_t> Messages() {
    std::vector<uint32_t> out;
    for (int i = 0; i < gRecording.nEventCount; ++i) out.push_back(gRecordingStore.gEvents[i].message);
    return out;
}

}  // namespace

class RecorderTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        fake::windows.push_back({kOwnButton, "Play", {0, 0, 10, 10}, false, true});
        fake::tickCount = 10000;
        gLog.gbLogLevel = LOG_MEDIUM;
    }
};

TEST_F(RecorderTest, KeepsEventsAsReceivedAndClosesWithThePaintRecord) {
    Keys(9);  // an older recording, wiped by the start
    SendCommand(ID_START_RECORDING);
    Feed(WM_SYSKEYDOWN, 0x3812, 10100);  // Alt held: system messages stay as they are
    Feed(WM_SYSKEYUP, 0x3812, 10180);
    Feed(WM_RBUTTONDOWN, 0x102F0, 10250);
    Stop(10400);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_SYSKEYDOWN, WM_SYSKEYUP, WM_RBUTTONDOWN, 15}));
    EXPECT_EQ(gRecordingStore.gEvents[2].paramL, 0x102F0u);
    EXPECT_EQ(gRecordingStore.gEvents[3].time, 10400u);
    EXPECT_EQ(gRecordingStore.gEvents[4].message, 0u);
    EXPECT_TRUE(fake::commandEnabled[ID_START_RECORDING]);
    EXPECT_TRUE(Logged("RECORDING #3: hWnd=119, Time=10250, Message=516 (paramL=0x102F0, paramH=0x14, wParam=0xF0, "
                       "lParam=0x2)"));
    EXPECT_TRUE(Logged("End recording time: 10400 ticks (4 total actions: final action not logged)"));
}

TEST_F(RecorderTest, QuickSecondUpAddsADoubleClickAcrossTheTickWrap) {
    const uint32_t t = 0xFFFFFF00u;  // the double-click window of the first up wraps
    SendCommand(ID_START_RECORDING);
    Feed(WM_LBUTTONUP, 1, t);
    Feed(WM_LBUTTONUP, 2, t + 200);   // 200 ms after the plain up
    Feed(WM_LBUTTONUP, 3, t + 1000);  // 800 ms after that one, 1000 after the plain up
    Stop(t + 1100);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_LBUTTONUP, 15}));
    EXPECT_EQ(gRecordingStore.gEvents[1].paramL, 2u);
}

TEST_F(RecorderTest, StopKeyIsNotRecordedAndOwnWindowOnlyWhenAsked) {
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\Mappings\\123\\Action", REG_DWORD, nullptr,
                     ACTION_STOP_RECORDING);
    ReadMappings();
    SendCommand(ID_START_RECORDING);
    Feed(WM_KEYDOWN, 'A', 10100, kOwnButton);
    Feed(WM_KEYDOWN, 0x5800 | 123, 10200);
    EXPECT_EQ(fake::journalHook, 0) << "stopped inside the hook call";
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{15}));
    EXPECT_EQ(gRecordingStore.gEvents[1].message, 0u);
    EXPECT_TRUE(Logged("\"Stop Recording\" key pressed: 123"));
    gSettings.gbExcludeKelmorAction = 0;
    SendCommand(ID_START_RECORDING);
    Feed(WM_KEYDOWN, 'A', 10300, kOwnButton);
    Stop(10400);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_KEYDOWN, 15}));
}

TEST_F(RecorderTest, InputTakenInAtTheStopIsKeptUpToTheStopKeyAndClosedOnce) {
    SendCommand(ID_START_RECORDING);
    fake::unreadRecords = {EVENTMSG{WM_KEYDOWN, 'A', 20, 10100, kOther}};
    Stop(10400);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_KEYDOWN, 15}));

    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\Mappings\\123\\Action", REG_DWORD, nullptr,
                     ACTION_STOP_RECORDING);
    ReadMappings();
    SendCommand(ID_START_RECORDING);
    fake::unreadRecords = {EVENTMSG{WM_KEYDOWN, 'A', 20, 10500, kOther}, EVENTMSG{WM_KEYDOWN, 123, 20, 10600, kOther},
                           EVENTMSG{WM_KEYDOWN, 'B', 20, 10700, kOther}};
    Stop(10800);
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_KEYDOWN, 15}));
    EXPECT_EQ(gRecordingStore.gEvents[1].time, 10600u) << "closed at the stop key";
    EXPECT_EQ(gRecordingStore.gEvents[2].message, 0u);

    // Exit cancels a recording, but not one its stop key had ended before.
    SendCommand(ID_START_RECORDING);
    fake::unreadRecords = {EVENTMSG{WM_KEYDOWN, 'C', 20, 10900, kOther}, EVENTMSG{WM_KEYDOWN, 123, 20, 11000, kOther}};
    CancelJournalForExit("CANCELLED RECORDING: Kelmor Exit called\r\n");
    EXPECT_EQ(Messages(), (std::vector<uint32_t>{WM_KEYDOWN, 15}));
}

TEST_F(RecorderTest, FullListDropsFurtherRecords) {
    gLog.gbLogLevel = LOG_OFF;
    SendCommand(ID_START_RECORDING);
    for (int i = 0; i < EVENT_LOAD_LIMIT - 2; ++i) Feed(WM_MOUSEMOVE, 0, 20000u + i);
    Feed(WM_LBUTTONUP, 1, 60000);
    Feed(WM_LBUTTONUP, 2, 60100);  // its double click takes the last place, the up is dropped
    gLog.gbLogLevel = LOG_MEDIUM;
    Feed(WM_KEYDOWN, 'A', 60200);
    Stop(60300);
    ASSERT_EQ(gRecording.nEventCount, EVENT_LOAD_LIMIT + 1);
    EXPECT_EQ(gRecordingStore.gEvents[EVENT_LOAD_LIMIT - 1].message, static_cast<uint32_t>(WM_LBUTTONDBLCLK));
    EXPECT_EQ(gRecordingStore.gEvents[EVENT_LOAD_LIMIT].message, 15u);
    EXPECT_EQ(gRecordingStore.gEvents[EVENT_LOAD_LIMIT + 1].message, 0u);
    EXPECT_NE(ReadFile(gLog.gszLogFile).find("RECORDING #32767: hWnd=119, Time=60200, Message=WM_KEYDOWN"),
              std::string::npos);
}

TEST_F(RecorderTest, RefusedHookShowsTheBoxAndLeavesNoStaleCount) {
    Keys(5);
    fake::refuseJournalHook = true;
    SendCommand(ID_START_RECORDING);
    ExpectBox("Start Windows Recorder Failed!", "Failure");
    EXPECT_EQ(gRecording.nEventCount, 0) << "the list was wiped";
}

TEST_F(RecorderTest, RecordingCommandsLeaveARunningPlaybackAlone) {
    Keys(4);
    SendCommand(ID_PLAY);
    SendCommand(ID_START_RECORDING);
    SendCommand(ID_TRAY_START_RECORDING);
    SendCommand(ID_TRAY_STOP_RECORDING);
    EXPECT_TRUE(gPlayer.gbPlayingNow);
    EXPECT_EQ(fake::journalInstalls, 1);
    EXPECT_EQ(gRecordingStore.gEvents[3].message, static_cast<uint32_t>(WM_KEYUP));
    fake::RunPlayback(2);
    SendCommand(ID_STOP_RECORDING);  // ends the playback without cutting the list there
    EXPECT_FALSE(gPlayer.gbPlayingNow);
    EXPECT_EQ(gRecording.nEventCount, 4);
}

TEST_F(RecorderTest, FocusOnTheMinimisedWindowStopsTheRecording) {
    snprintf(gRecording.gszFile, sizeof gRecording.gszFile, "/home/me/x.klx");
    gSettings.gbMinimize = 1;
    SendCommand(ID_START_RECORDING);
    EXPECT_EQ(fake::windowTitle, "CLICK TO STOP RECORDING");
    EXPECT_EQ(fake::mainWindowShowCommands, std::vector<int>{SW_MINIMIZE});
    OnMainWindowFocus();
    EXPECT_EQ(gRecording.nEventCount, 1);
    EXPECT_EQ(fake::windowTitle, "Kelmor - x.klx");
    gSettings.gbMinimize = 0;
    SendCommand(ID_START_RECORDING);
    EXPECT_EQ(fake::mainWindowShowCommands.size(), 1u);
    OnMainWindowFocus();
    EXPECT_NE(gPlayer.ghJournalHook, 0);
}

TEST_F(RecorderTest, ExitCancelLeavesNoHalfRecordingAndRestoresAPlayback) {
    Keys(6);
    SendCommand(ID_START_RECORDING);
    Feed(WM_KEYDOWN, 'B', 10100);
    CancelJournalForExit("CANCELLED RECORDING: Kelmor Exit called\r\n");
    EXPECT_EQ(fake::journalHook, 0);
    EXPECT_EQ(gRecording.nEventCount, 0);
    EXPECT_TRUE(Logged("CANCELLED RECORDING: Kelmor Exit called\r\n"));
    Keys(4);
    SendCommand(ID_PLAY);
    gRecordingStore.gEvents[gRecording.nEventCount++] = EVENTMSG{WM_KEYDOWN, 'B', 0, 1, 0};  // inserted by a script
    CancelJournalForExit("CANCELLED RECORDING: Kelmor Close called\r\n");
    EXPECT_FALSE(gPlayer.gbPlayingNow);
    EXPECT_EQ(gRecording.nEventCount, 4);
}
