#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <cstdio>
#include <vector>

#include "platform/wintypes.h"
#include "platform/x11/journal_drivers.h"
#include "tests/platform/x11/x_test_client.h"

namespace {

// A scripted playback procedure: each step waits its delay (asked for once), then hands
// over its event; a step may end the playback or hand it to a second procedure from
// inside its HC_SKIP, as the player does at the end of a pass.
struct ScriptStep {
    intptr_t delay;
    EVENTMSG event;
    bool rehook;
};

std::vector<ScriptStep> gScript;
size_t gAt = 0;
bool gWaited = false;
int gCallsA = 0, gCallsB = 0, gGetNextAfterWait = 0;

intptr_t Play(int code, intptr_t lParam, JournalProc next);

intptr_t ProcB(int code, uintptr_t, intptr_t lParam) {
    ++gCallsB;
    return Play(code, lParam, nullptr);
}

intptr_t ProcA(int code, uintptr_t, intptr_t lParam) {
    ++gCallsA;
    return Play(code, lParam, ProcB);
}

intptr_t Play(int code, intptr_t lParam, JournalProc next) {
    const ScriptStep& step = gScript[gAt];
    if (code == HC_GETNEXT) {
        EVENTMSG* record = reinterpret_cast<EVENTMSG*>(lParam);
        EXPECT_EQ(record->message | record->paramL | record->paramH, 0u) << "a fresh record every time";
        if (step.delay > 0 && !gWaited) {
            gWaited = true;
            return step.delay;
        }
        if (step.delay > 0) ++gGetNextAfterWait;
        *record = step.event;
        return 0;
    }
    if (code == HC_SKIP) {
        gWaited = false;
        if (++gAt == gScript.size()) {
            X11StopPlaybackDriver();
        } else if (step.rehook) {
            X11StopPlaybackDriver();
            EXPECT_TRUE(X11StartPlaybackDriver(next));
        }
    }
    return 0;
}

EVENTMSG Key(uint32_t message, uint8_t vk) { return {message, vk, 1, 0, 0}; }
EVENTMSG Mouse(uint32_t message, uint32_t x, uint32_t y) { return {message, x, y, 0, 0}; }

class JournalPlaybackTest : public XClientTest {
protected:
    void SetUp() override {
        XClientTest::SetUp();
        gAt = 0, gWaited = false, gCallsA = gCallsB = gGetNextAfterWait = 0;
    }
};

TEST_F(JournalPlaybackTest, InjectsWhatTheProcedureHandsOverAfterItsDelays) {
    gScript = {{40, Key(WM_KEYDOWN, 'A'), false},
               {0, Key(WM_KEYUP, 'A'), false},
               {0, EVENTMSG{}, false},  // an empty record: nothing injected, still skipped
               {0, Mouse(WM_RBUTTONDOWN, 120, 90), false},
               {0, Mouse(WM_RBUTTONUP, 120, 90), true},
               {0, Key(WM_SYSKEYDOWN, 'B'), false},
               {30, Key(WM_SYSKEYUP, 'B'), false},
               {0, Key(WM_KEYDOWN, VK_CAPITAL), false},  // the player toggles it itself
               {0, Key(WM_KEYUP, VK_CAPITAL), false},
               {0, Mouse(WM_MOUSEWHEEL, 200, 100), false},  // the player turns the wheel itself
               {0, Mouse(WM_LBUTTONDOWN, 210, 110), false},
               {0, Mouse(WM_LBUTTONUP, 210, 110), false}};
    const gint64 start = g_get_monotonic_time();
    ASSERT_TRUE(X11StartPlaybackDriver(ProcA));
    ASSERT_TRUE(Pump([] { return gAt == gScript.size(); }));
    ASSERT_TRUE(Pump([&] { return KeysAndButtons().size() >= 8; }, 1000));
    Pump([] { return false; }, 100);  // anything extra would arrive now

    const std::vector<Received> got = KeysAndButtons();
    const struct {
        int type;
        KeySym keysym;
        unsigned button;
        int x, y;
    } expected[] = {{KeyPress, XK_a, 0, 0, 0},        {KeyRelease, XK_a, 0, 0, 0},      {ButtonPress, 0, 3, 120, 90},
                    {ButtonRelease, 0, 3, 120, 90},   {KeyPress, XK_b, 0, 0, 0},        {KeyRelease, XK_b, 0, 0, 0},
                    {ButtonPress, 0, 1, 210, 110},    {ButtonRelease, 0, 1, 210, 110}};
    ASSERT_EQ(got.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(got[i].type, expected[i].type) << i;
        if (expected[i].button == 0) {
            EXPECT_EQ(got[i].keysym, expected[i].keysym) << i;
        } else {
            EXPECT_TRUE(got[i].button == expected[i].button && got[i].x == expected[i].x && got[i].y == expected[i].y)
                << i;
        }
    }
    bool wheelPointer = false;
    for (const Received& r : received_) wheelPointer = wheelPointer || (r.x == 200 && r.y == 100);
    EXPECT_TRUE(wheelPointer) << "the wheel record puts the pointer where the wheel turned";

    // The delays were waited (roughly: timing is the benchmark's business).
    // The server stamps events on the monotonic clock in milliseconds.
    EXPECT_GE(static_cast<uint32_t>(got[0].time - static_cast<uint32_t>(start / 1000)), 38u);
    EXPECT_GE(got[5].time - got[4].time, 25u);
    // Each waited step was asked again exactly once; the first procedure was left alone
    // once it handed over, and the second ran to the end.
    EXPECT_EQ(gGetNextAfterWait, 2);
    EXPECT_EQ(gCallsA, 2 * 5 + 1);
    EXPECT_EQ(gCallsB, 2 * 7 + 1);
}

TEST_F(JournalPlaybackTest, BackToBackEventsComeInBatchesThatLetTheLoopRun) {
    const int kEvents = 6000;
    gScript.clear();
    for (int i = 0; i < kEvents; ++i) gScript.push_back({0, Key(i % 2 == 0 ? WM_KEYDOWN : WM_KEYUP, 'K'), false});
    int skippedWhenIdleRan = -1;
    const guint idle = g_idle_add(
        [](gpointer data) {
            *static_cast<int*>(data) = static_cast<int>(gAt);
            return G_SOURCE_REMOVE;
        },
        &skippedWhenIdleRan);
    const gint64 start = g_get_monotonic_time();
    ASSERT_TRUE(X11StartPlaybackDriver(ProcB));
    ASSERT_TRUE(Pump([&] { return received_.size() >= static_cast<size_t>(kEvents); }, 20000));
    const double seconds = static_cast<double>(g_get_monotonic_time() - start) / 1e6;
    printf("%d key events received in %.3f s (%.0f/s)\n", kEvents, seconds, kEvents / seconds);
    EXPECT_EQ(gAt, gScript.size());
    EXPECT_EQ(received_.back().keysym, static_cast<KeySym>(XK_k));
    EXPECT_TRUE(skippedWhenIdleRan >= 0 && skippedWhenIdleRan < kEvents) << "idle work ran while events remained";
    if (skippedWhenIdleRan < 0) g_source_remove(idle);
}

}  // namespace
