#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "host/mappings.h"
#include "platform/input.h"
#include "player/playback_control.h"
#include "player/player.h"
#include "recording/recording.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/run_mode.h"

// Whole passes, the common log lines and the normal-speed delays are pinned down by the
// reference playback; these cover the edges it never reaches.
namespace {

EVENTMSG Ev(uint32_t message, uint32_t time, uint32_t paramL = 0, uint32_t paramH = 0) {
    return EVENTMSG{message, paramL, paramH, time, 0};
}

void Load(const std::vector<EVENTMSG>& events) {
    std::copy(events.begin(), events.end(), gRecordingStore.gEvents);
    gRecording.nEventCount = static_cast<int32_t>(events.size());
}

// Offers event i for the first time, or again when fresh is false.
intptr_t Offer(int32_t i, bool fresh = true, EVENTMSG* record = nullptr) {
    EVENTMSG local;
    if (record == nullptr) record = &local;
    *record = EVENTMSG{};
    gPlayer.nCurrentEvent = i, gPlayer.bFreshEvent = fresh;
    return JournalPlaybackProc(HC_GETNEXT, 0, reinterpret_cast<intptr_t>(record));
}

}  // namespace

class PlayerTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        gSettings.gbKeyboardService = 0, fake::tickCount = 50000;
    }
    // Installs the hook as a Playback command would, without its logging.
    static void Install() {
        BackupRecording();
        ResetPlayerForPass();
        gPlayer.ghJournalHook = SysSetJournalHook(WH_JOURNALPLAYBACK, JournalPlaybackProc);
        gPlayer.gbPlayingNow = true;
    }
};

TEST_F(PlayerTest, DelaysFollowTheRecordedGapsAtEachSpeed) {
    const uint32_t MM = WM_MOUSEMOVE, DN = WM_LBUTTONDOWN, UP = WM_LBUTTONUP, DBL = WM_LBUTTONDBLCLK;
    Load({Ev(MM, 5000), Ev(MM, 5014), Ev(MM, 6014), Ev(DN, 6114), Ev(UP, 6214), Ev(MM, 6314), Ev(DBL, 6414),
          Ev(UP, 6514), Ev(MM, 6614), Ev(MM, 0), Ev(MM, 9000), Ev(MM, 1), Ev(MM, 9500), Ev(MM, 9400),
          Ev(MM, 0xFFFFFFF0u), Ev(MM, 0x10), Ev(MM, 0x7FFFFFFF)});
    gRecordingStore.gEvents[gRecording.nEventCount] = Ev(UP, 0);  // past the end: no event
    const struct { uint8_t speed; int32_t event; intptr_t delay; } rows[] = {
        {2, 12, 0} /* after time 1 */, {2, 15, 32} /* across the tick wrap */, {3, 2, 66}, {4, 2, 0}, {1, 3, 100},
        {1, 4, 100}, {1, 5, 100}, {1, 6, 100}, {1, 8, 400}, {1, 16, INT32_MAX} /* saturates */};
    for (const auto& row : rows) {
        gSettings.gbSpeed = row.speed;
        EXPECT_EQ(Offer(row.event), row.delay) << "speed " << int(row.speed) << ", event " << row.event;
    }
    gSettings.gbSpeed = 3, gSettings.gnFactorFast = 0;  // a broken stored factor must not divide by zero
    EXPECT_EQ(Offer(2), 1000);
}

TEST_F(PlayerTest, SurplusPaysBackLaterDelaysAndReOffersFinishTheWait) {
    Load({Ev(WM_MOUSEMOVE, 1000), Ev(WM_MOUSEMOVE, 1020), Ev(WM_MOUSEMOVE, 1070)});
    // waited: before a re-offer of the 50 ms delay; -1 for none.
    const struct { int32_t event, surplus; int64_t waited; intptr_t result; int32_t surplusAfter; } rows[] = {
        {1, 30, -1, 0, 10}, {2, 0, 41, 0, 0}, {2, 0, 40, 10, 0}, {2, 0, 59, 0, 0}, {2, 0, 60, 0, 10},
        {2, 0, 0xFFFFFFF0, 0, INT32_MAX} /* saturates */};
    for (const auto& row : rows) {
        gPlayer.lSurplus = row.surplus;
        EVENTMSG record;
        intptr_t result = Offer(row.event, true, &record);
        if (row.waited >= 0) {
            fake::tickCount += static_cast<uint32_t>(row.waited);
            result = Offer(row.event, false, &record);
        }
        EXPECT_EQ(result, row.result) << "waited " << row.waited;
        EXPECT_EQ(gPlayer.lSurplus, row.surplusAfter) << "waited " << row.waited;
        EXPECT_EQ(record.message, row.result == 0 ? WM_MOUSEMOVE : 0u) << "filled only when delivered";
    }
}

TEST_F(PlayerTest, ReplaceKeyTypesEachTextEvenWhenItsKeyDownEndsTheList) {
    gLog.gbLogLevel = LOG_MEDIUM;
    gSettings.gnLoopTypeBase = 100, gRecording.nCompletedPasses = 2;  // the third pass
    fake::localTime = SYSTEMTIME{2004, 8, 0, 15, 9, 5, 3, 42};
    gSettings.gnRandomMin = gSettings.gnRandomMax = 7;
    const char* texts[] = {"103", "7", "09:05:03", "08/15/2004 09:05:03", "200408150905030042"};
    for (uint8_t action = ACTION_REPLACE_LOOP; action <= ACTION_REPLACE_TIMENUMBER; ++action) {
        gMappings.gbMapAction['X'] = action;
        // A recorded key, or the character a TYPE command types (x and X alike).
        Load({Ev(WM_KEYDOWN, 1000, action % 2 ? 'X' : CharacterRecordParam(action % 4 ? 'x' : 'X'))});
        EXPECT_EQ(Offer(0), 0);
        EXPECT_GT(gRecording.nEventCount, 1);
        std::string line = std::string("REPLACE Mapping: '") + texts[action - ACTION_REPLACE_LOOP] + "'\r\n";
        EXPECT_NE(ReadFile(gLog.gszLogFile).find(line), std::string::npos) << line;
    }
    gRecording.nEventCount = EVENT_CAPACITY;  // a full list takes nothing more
    gRecordingStore.gEvents[EVENT_CAPACITY - 1] = Ev(WM_KEYDOWN, 1000, 'X');
    EXPECT_EQ(Offer(EVENT_CAPACITY - 1), 0);
    EXPECT_EQ(gRecording.nEventCount, EVENT_CAPACITY);
}

TEST_F(PlayerTest, IndexOutsideTheListStopsThePlayback) {
    gLog.gbLogLevel = LOG_LOW;
    gRun.gnRunMode = RUN_COMMAND_LINE;
    Load({Ev(WM_KEYDOWN, 1000, 'A')});
    Install();
    for (int32_t index : {1, -5}) {
        EXPECT_EQ(Offer(index), 0);
        const fake::MessageBoxCall box = fake::messageBoxes.at(0);
        EXPECT_EQ(box.caption + ": " + box.text,
                  "Playback Error: This recording appears to be corrupted!\n\nPlease re-record your actions.");
        EXPECT_EQ(box.style, gSettings.gdwMsgBoxStyle | MB_ICONHAND);
        EXPECT_TRUE(fake::postedCommands == std::deque<int>{ID_EXIT} && gPlayer.ghJournalHook == 0);
        fake::messageBoxes.clear(), fake::postedCommands.clear();
        gRun.gnRunMode = RUN_INTERACTIVE, gSettings.gbQuitWhenDone = 1;
    }
    EXPECT_EQ(ReadFile(gLog.gszLogFile).find("ERROR: Event #2: This recording appears to be corrupted!\r\n"), 0u);
}

TEST_F(PlayerTest, LockKeysWheelUnknownMessagesAndEmptyEvents) {
    gLog.gbLogLevel = LOG_HIGH;
    Load({Ev(WM_KEYDOWN, 1000, VK_CAPITAL, 1), Ev(WM_KEYDOWN, 1030, VK_LWIN), Ev(0, 0),
          Ev(WM_MOUSEWHEEL, 1030, 400, 300), Ev(WM_SYSKEYDOWN, 1030, 'A', 1), Ev(WM_KEYUP, 1030)});
    Install();
    JournalPlaybackProc(HC_SYSMODALON, 0, 0);
    JournalPlaybackProc(-1, 0, 0);
    EXPECT_EQ(fake::RunPlayback(4), 4);
    // The lock keys say how they went out, the skipped empty event and the wheel log no sending.
    const std::string log = ReadFile(gLog.gszLogFile);
    for (const char* part : {"* * * HC_SYSMODALON Flag * * *\r\nPLAY EVENT #1 at 50000",
                             "WM_KEYDOWN (1, 20)\r\n   >>>Sending Event #1 with Kelmor secret sauce with NO DELAY\r\n",
                             "   Delay was done!\r\n   >>>Sending Event #2 with Kelmor secret sauce\r\n",
                             "go on to #3...\r\n   -->Windows accepted the previous message at 50030, go on to #4...",
                             "Message=WM_MOUSEWHEEL (300, 400)\r\n   -->Windows accepted",
                             "Rec Prev=1030, Message=260 (1, 'A')\r\n   >>>Sending Event #5 with no delay\r\n"}) {
        EXPECT_NE(log.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(fake::delivered[2].message, WM_MOUSEWHEEL) << "the journal event goes out as well";
    // Every code it does not handle itself, and the empty event without a command, is passed on.
    EXPECT_EQ(fake::nextHookCodes,
              (std::vector<int>{HC_SYSMODALON, -1, HC_SKIP, HC_SKIP, HC_GETNEXT, HC_SKIP, HC_SKIP, HC_SKIP}));
    // The lock keys also go out as synthetic input, the wheel as one notch toward the user.
    EXPECT_EQ(fake::keyEvents.size(), 4u);
    EXPECT_TRUE(fake::keyEvents[0].vk == VK_CAPITAL && fake::keyEvents[2].vk == VK_LWIN);
    const fake::MouseEvent m = fake::mouseEvents.at(0);
    // To the recorded point (x 400 in paramL, y 300) on the fake 1280 x 1024 screen, then
    // one notch.
    EXPECT_TRUE(fake::mouseEvents.size() == 1 && m.flags == 0x8801u && m.data == -120);
    EXPECT_EQ(m.dx * 1280 / 65536, 400);
    EXPECT_EQ(m.dy * 1024 / 65536, 300);
}
