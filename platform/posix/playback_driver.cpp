#include "platform/posix/playback_driver.h"

#include <glib.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "platform/journal_batch.h"

namespace {

// The time budget of a batch of events played without delays (platform/journal_batch.h).
const gint64 kBatchMicros = 5000;

JournalProc gProc = nullptr;
const PlaybackOutput* gOutput = nullptr;
// Kept after a stop for the release that follows it.
const PlaybackOutput* gLastOutput = nullptr;
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

void Step() {
    if (gProc == nullptr || gOutput == nullptr) return;
    const PlaybackOutput* output = gOutput;
    const gint64 start = g_get_monotonic_time();
    intptr_t delay = 0;
    const JournalBatchEnd end = PlayJournalBatch(
        gProc, gGeneration, [output](const EVENTMSG& record) { output->inject(record); },
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
    output->flush();
}

// A playback that stopped between a key's press and its release would leave the key
// down for good. The end of a pass stops the driver and starts it again from inside the
// procedure, and a key may be meant to stay down across that; only a stop that no start
// followed by the time the loop runs again ends the playback.
gboolean ReleaseWhenStopped(gpointer) {
    gReleaseSource = 0;
    if (gProc == nullptr && gLastOutput != nullptr) gLastOutput->releaseHeld();
    return G_SOURCE_REMOVE;
}

}  // namespace

bool StartPlaybackDriver(JournalProc proc, const PlaybackOutput* output) {
    if (proc == nullptr || output == nullptr || !CreateSources()) return false;
    ++gGeneration;
    ArmTimer(0);
    gProc = proc;
    gOutput = gLastOutput = output;
    RunSoon();
    return true;
}

void StopPlaybackDriver() {
    ++gGeneration;
    gProc = nullptr;
    gOutput = nullptr;
    if (gTimerSource == nullptr) return;
    if (gReleaseSource == 0) gReleaseSource = g_idle_add(ReleaseWhenStopped, nullptr);
    ArmTimer(0);
    g_source_set_ready_time(gYieldSource, -1);
}
