// The journal playback driver: plays the system's part of a playback hook from the GLib
// main loop. It asks the procedure for the next event (HC_GETNEXT), waits the delay it
// returns and asks again, injects a filled record through XTest and moves it on
// (HC_SKIP).
#include <X11/Xlib.h>
#include <glib.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "platform/journal_batch.h"
#include "platform/wintypes.h"
#include "platform/x11/display.h"
#include "platform/x11/inject.h"
#include "platform/x11/journal_drivers.h"
#include "platform/x11/typing.h"

namespace {

// The time budget of a batch of events played without delays (platform/journal_batch.h).
const gint64 kBatchMicros = 5000;
// The bit of a key record's paramH that marks the PC's extended keys.
const uint32_t kExtendedKey = 0x8000;

JournalProc gProc = nullptr;
// Bumped by every start and stop: a step that finds it changed after calling the
// procedure knows the procedure stopped or replaced the playback and must not go on.
unsigned gGeneration = 0;

// Waits run on a timer descriptor rather than a GLib timeout: the loop's timeouts wake
// whole milliseconds late, which adds up over a recording of many short gaps.
GSource* gTimerSource = nullptr;
gpointer gTimerTag = nullptr;
int gTimerFd = -1;
// Whether the armed wait belongs to the running playback: a wait that had already expired
// when the playback was stopped or restarted must not step the new one.
bool gTimerPending = false;
// Continues a batch at idle priority, beside posted commands.
GSource* gYieldSource = nullptr;
// Looks, once the loop runs again after a stop, whether the playback really ended.
guint gReleaseSource = 0;

void Step();

gboolean DispatchTimer(GSource* source, GSourceFunc, gpointer) {
    if ((g_source_query_unix_fd(source, gTimerTag) & G_IO_IN) == 0) return G_SOURCE_CONTINUE;
    // Re-arming clears the count, so only an expiry of the wait armed last reads one.
    uint64_t expirations = 0;
    const bool expired = read(gTimerFd, &expirations, sizeof expirations) == sizeof expirations && expirations > 0;
    if (!expired || !gTimerPending) return G_SOURCE_CONTINUE;
    gTimerPending = false;
    Step();
    return G_SOURCE_CONTINUE;
}

gboolean DispatchYield(GSource* source, GSourceFunc, gpointer) {
    g_source_set_ready_time(source, -1);
    Step();
    return G_SOURCE_CONTINUE;
}

GSourceFuncs gTimerFuncs = {nullptr, nullptr, DispatchTimer, nullptr, nullptr, nullptr};
GSourceFuncs gYieldFuncs = {nullptr, nullptr, DispatchYield, nullptr, nullptr, nullptr};

bool CreateSources() {
    if (gTimerSource != nullptr) return true;
    gTimerFd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (gTimerFd < 0) {
        perror("timerfd_create");
        return false;
    }
    gTimerSource = g_source_new(&gTimerFuncs, sizeof(GSource));
    gTimerTag = g_source_add_unix_fd(gTimerSource, gTimerFd, G_IO_IN);
    g_source_set_name(gTimerSource, "journal playback timer");
    g_source_attach(gTimerSource, nullptr);
    gYieldSource = g_source_new(&gYieldFuncs, sizeof(GSource));
    g_source_set_priority(gYieldSource, G_PRIORITY_DEFAULT_IDLE);
    g_source_set_name(gYieldSource, "journal playback");
    g_source_attach(gYieldSource, nullptr);
    return true;
}

// Arms the timer for an absolute point of CLOCK_MONOTONIC (microseconds); 0 disarms it.
void ArmTimer(gint64 micros) {
    struct itimerspec due = {};
    due.it_value.tv_sec = static_cast<time_t>(micros / 1000000);
    due.it_value.tv_nsec = static_cast<long>(micros % 1000000) * 1000L;
    timerfd_settime(gTimerFd, TFD_TIMER_ABSTIME, &due, nullptr);
    gTimerPending = micros != 0;
}

void RunSoon() { g_source_set_ready_time(gYieldSource, 0); }

void PointAndButton(Display* display, const EVENTMSG& e, unsigned button, bool press) {
    X11InjectMotion(display, static_cast<int32_t>(e.paramL), static_cast<int32_t>(e.paramH));
    X11InjectButton(display, button, press);
}

void Inject(Display* display, const EVENTMSG& e) {
    const uint8_t vk = static_cast<uint8_t>(e.paramL & 0xFF);
    const uint8_t scan = static_cast<uint8_t>((e.paramL >> 8) & 0xFF);
    const bool extended = (e.paramH & kExtendedKey) != 0;  // read for key records only
    const bool key = e.message == WM_KEYDOWN || e.message == WM_SYSKEYDOWN || e.message == WM_KEYUP ||
                     e.message == WM_SYSKEYUP;
    if (key && IsCharacterRecord(e.paramL)) {
        // A character, made in the layout active now; its modifiers stay down until its
        // release, and X11ReleaseHeldInput lets them go should the playback stop first.
        X11TypeCharacter(display, CharacterOfRecord(e.paramL), e.message == WM_KEYDOWN || e.message == WM_SYSKEYDOWN);
        return;
    }
    switch (e.message) {
        case WM_KEYDOWN:
            // The player sends these keys as synthetic input itself, because a journal
            // cannot toggle a lock or open the Start menu; pressing them here too would
            // toggle a lock straight back.
            if (IsLockOrWindowsKey(vk)) break;
            X11InjectKey(display, vk, scan, extended, true);
            break;
        case WM_SYSKEYDOWN:
            X11InjectKey(display, vk, scan, extended, true);
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            X11InjectKey(display, vk, scan, extended, false);
            break;
        case WM_MOUSEMOVE:
            X11InjectMotion(display, static_cast<int32_t>(e.paramL), static_cast<int32_t>(e.paramH));
            break;
        // A journal record carries no wheel amount: the player turns the wheel itself,
        // and the record only puts the pointer where the wheel was turned.
        case WM_MOUSEWHEEL:
            X11InjectMotion(display, static_cast<int32_t>(e.paramL), static_cast<int32_t>(e.paramH));
            break;
        case WM_LBUTTONDOWN: PointAndButton(display, e, 1, true); break;
        case WM_LBUTTONUP: PointAndButton(display, e, 1, false); break;
        case WM_RBUTTONDOWN: PointAndButton(display, e, 3, true); break;
        case WM_RBUTTONUP: PointAndButton(display, e, 3, false); break;
        case WM_MBUTTONDOWN: PointAndButton(display, e, 2, true); break;
        case WM_MBUTTONUP: PointAndButton(display, e, 2, false); break;
        // A double-click record sits between the second press and its release (the
        // recorder adds it); the press is already down, and X clients tell a double
        // click by its timing, so it injects nothing.
        default:
            break;
    }
}

void Step() {
    Display* display = X11Display();
    if (gProc == nullptr || display == nullptr) return;
    const gint64 start = g_get_monotonic_time();
    intptr_t delay = 0;
    const JournalBatchEnd end = PlayJournalBatch(
        gProc, gGeneration, [display](const EVENTMSG& record) { Inject(display, record); },
        [start] { return g_get_monotonic_time() - start >= kBatchMicros; }, &delay);
    if (end == JournalBatchEnd::Wait) {
        // The procedure measures the wait from the tick (a whole millisecond) it read
        // while answering; ending it on a tick boundary keeps each gap as recorded
        // instead of half a millisecond long on average.
        const gint64 now = g_get_monotonic_time();
        ArmTimer(now - now % 1000 + static_cast<gint64>(delay) * 1000);
    } else if (end == JournalBatchEnd::Yield) {
        RunSoon();
    }
    XFlush(display);
}

// A playback that stopped between a key's press and its release would leave the key
// down for good. The end of a pass stops the driver and starts it again from inside the
// procedure, and a key may be meant to stay down across that; only a stop that no start
// followed by the time the loop runs again ends the playback.
gboolean ReleaseWhenStopped(gpointer) {
    gReleaseSource = 0;
    if (gProc == nullptr) X11ReleaseHeldInput(X11Display());
    return G_SOURCE_REMOVE;
}

}  // namespace

bool X11StartPlaybackDriver(JournalProc proc) {
    Display* display = X11Display();
    if (proc == nullptr || display == nullptr || !X11HasXTest(display) || !CreateSources()) return false;
    ++gGeneration;
    ArmTimer(0);
    gProc = proc;
    RunSoon();
    return true;
}

void X11StopPlaybackDriver() {
    ++gGeneration;
    gProc = nullptr;
    if (gTimerSource == nullptr) return;
    if (gReleaseSource == 0) gReleaseSource = g_idle_add(ReleaseWhenStopped, nullptr);
    ArmTimer(0);
    g_source_set_ready_time(gYieldSource, -1);
}
