#include "tests/platform/x11/x_test_client.h"

#include <X11/keysym.h>

#include "platform/wintypes.h"
#include "platform/x11/journal_drivers.h"
#include "tests/platform/x11/x_layout.h"

namespace {

// A scripted procedure: each step asks once for its delay, then hands over its event.
// At a step marked `rehook` the playback passes, from inside HC_SKIP, to the second
// procedure, as the player does at the end of a pass.
struct ScriptStep {
    intptr_t delay;
    EVENTMSG event;
    bool rehook;
};
std::vector<ScriptStep> gScript;
size_t gAt;
bool gWaited;
int gCalls[2], gAskedAgain;

intptr_t Play(int which, int code, intptr_t lParam) {
    ++gCalls[which];
    const ScriptStep& step = gScript[gAt];
    EVENTMSG* record = reinterpret_cast<EVENTMSG*>(lParam);
    if (code == HC_GETNEXT) {
        EXPECT_EQ(record->message | record->paramL | record->paramH, 0u) << "a fresh record every time";
        if (step.delay > 0 && !gWaited) return gWaited = true, step.delay;
        gAskedAgain += step.delay > 0;
        *record = step.event;
    } else if (code == HC_SKIP) {
        gWaited = false;
        if (++gAt == gScript.size() || step.rehook) X11StopPlaybackDriver();
        if (gAt < gScript.size() && step.rehook) {
            EXPECT_TRUE(X11StartPlaybackDriver([](int c, uintptr_t, intptr_t l) { return Play(1, c, l); }));
        }
    }
    return 0;
}

EVENTMSG Msg(uint32_t message, uint32_t paramL, uint32_t paramH = 1) { return {message, paramL, paramH, 0, 0}; }

class JournalPlaybackTest : public XClientTest {
protected:
    void Start(std::vector<ScriptStep> script) {
        gScript = std::move(script);
        gAt = 0, gWaited = false, gCalls[0] = gCalls[1] = gAskedAgain = 0;
        ASSERT_TRUE(X11StartPlaybackDriver([](int c, uintptr_t, intptr_t l) { return Play(0, c, l); }));
    }
};

TEST_F(JournalPlaybackTest, InjectsWhatTheProcedureHandsOverAfterItsDelays) {
    const gint64 start = g_get_monotonic_time();
    Start({{40, Msg(WM_KEYDOWN, 'A'), false},
           {0, Msg(WM_KEYUP, 'A'), false},
           {0, EVENTMSG{}, false},  // an empty record injects nothing and is still skipped
           {0, Msg(WM_RBUTTONDOWN, 120, 90), false},
           {0, Msg(WM_RBUTTONUP, 120, 90), true},
           {0, Msg(WM_SYSKEYDOWN, 'B'), false},
           {30, Msg(WM_SYSKEYUP, 'B'), false},
           {0, Msg(WM_KEYDOWN, VK_CAPITAL), false},  // the player toggles it itself
           {0, Msg(WM_KEYUP, VK_CAPITAL), false},
           {0, Msg(WM_LBUTTONDOWN, 210, 110), false},
           {0, Msg(WM_LBUTTONUP, 210, 110), false},
           {0, Msg(WM_MOUSEWHEEL, 200, 100), false}});  // the player turns the wheel itself
    ASSERT_TRUE(Pump([] { return gAt == gScript.size(); }));
    Pump([] { return false; }, 100);  // anything injected has arrived by now
    EXPECT_EQ(got_, (Keys{"+a", "-a", "+b3@120,90", "-b3@120,90", "+b", "-b", "+b1@210,110", "-b1@210,110"}));
    EXPECT_EQ(Pointer(), std::make_pair(200, 100)) << "the wheel record puts the pointer where the wheel turned";

    // The delays were waited (roughly: timing is for the benchmark), each waited step
    // asked for again exactly once, and the first procedure left alone once it handed over.
    // The server stamps an event when it handles it: one held up behind other work comes
    // out nearer the next, so the 30 ms gap is only known to be well above none.
    ASSERT_EQ(times_.size(), 8u);
    EXPECT_GE(static_cast<uint32_t>(times_[0] - static_cast<uint32_t>(start / 1000)), 38u);  // server ms, monotonic
    EXPECT_GE(times_[5] - times_[4], 20u);
    EXPECT_EQ(gAskedAgain, 2);
    EXPECT_EQ(gCalls[0], 2 * 5 + 1);
    EXPECT_EQ(gCalls[1], 2 * 7 + 1);
}

TEST_F(JournalPlaybackTest, BackToBackEventsComeInBatchesThatLetTheLoopRun) {
    const int kEvents = 6000;
    std::vector<ScriptStep> script;
    for (int i = 0; i < kEvents; ++i) script.push_back({0, Msg(i % 2 == 0 ? WM_KEYDOWN : WM_KEYUP, 'K'), false});
    int playedWhenIdleRan = -1;
    g_idle_add([](gpointer out) { return *static_cast<int*>(out) = static_cast<int>(gAt), G_SOURCE_REMOVE; },
               &playedWhenIdleRan);
    Start(script);
    ASSERT_TRUE(Pump([&] { return got_.size() >= static_cast<size_t>(kEvents); }, 20000));
    EXPECT_EQ(got_.back(), "-k");
    EXPECT_TRUE(playedWhenIdleRan >= 0 && playedWhenIdleRan < kEvents) << "idle work ran while events remained";
}

TEST_F(JournalPlaybackTest, WhatAStoppedPlaybackLeftDownIsReleasedButNotAtThePassEnd) {
    // The key goes down at the end of a pass and stays down across the re-hook; the
    // playback then stops with a button down too.
    Start({{0, Msg(WM_KEYDOWN, 'A'), true}, {50, Msg(WM_LBUTTONDOWN, 100, 100), false}});
    ASSERT_TRUE(Pump([] { return gAt == gScript.size(); }));
    ASSERT_TRUE(Pump([&] { return got_.size() >= 4; }, 1000));
    EXPECT_EQ(got_, (Keys{"+a", "+b1@100,100", "-a", "-b1@100,100"}));
    EXPECT_FALSE(Down(XK_a));
}

TEST_F(JournalPlaybackTest, CharacterRecordsTypeInTheActiveLayoutAndAStopLetsTheirModifiersGo) {
    ASSERT_TRUE(SetLayout(client_, "de"));
    // @ is AltGr+Q under de. The playback stops while € (AltGr+E) is down: the key and its
    // AltGr come up, and nothing else was pressed.
    Start({{0, Msg(WM_KEYDOWN, CharacterRecordParam('@')), false},
           {0, Msg(WM_KEYUP, CharacterRecordParam('@')), false},
           {0, Msg(WM_SYSKEYDOWN, CharacterRecordParam(0x20AC)), false}});
    ASSERT_TRUE(Pump([] { return gAt == gScript.size(); }));
    ASSERT_TRUE(Pump([&] { return got_.size() >= 8; }, 1000));
    EXPECT_EQ(got_, (Keys{"+ISO_Level3_Shift", "+q", "-q", "-ISO_Level3_Shift", "+ISO_Level3_Shift", "+e", "-e",
                          "-ISO_Level3_Shift"}));
    EXPECT_FALSE(Down(XK_ISO_Level3_Shift));
    ASSERT_TRUE(SetLayout(client_, "us"));  // as found, for a next test on the same server
}

TEST_F(JournalPlaybackTest, PointsOffTheScreenLandOnItsNearestEdge) {
    // 66000 would wrap to 464 on the wire; 0xFFFFFF00 is -256 read back as a number.
    const struct { uint32_t message, x, y; int wantX, wantY; } cases[] = {
        {WM_MOUSEMOVE, 66000, 0xFFFFFF00u, 1279, 0}, {WM_LBUTTONUP, 0x80000000u, 70000, 0, 1023},
        {WM_MOUSEMOVE, 1279, 1023, 1279, 1023}, {WM_MOUSEMOVE, 0, 0, 0, 0}};
    for (const auto& c : cases) {
        Start({{0, Msg(c.message, c.x, c.y), false}});
        ASSERT_TRUE(Pump([] { return gAt == gScript.size(); }));
        EXPECT_EQ(Pointer(), std::make_pair(c.wantX, c.wantY)) << c.x << "," << c.y;
    }
}

}  // namespace
