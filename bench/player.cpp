// The playback hook's own cost per event over a full list, with the log off, as the
// system drives it: ask for the event, wait what it asks (on the fake clock), ask again,
// skip. The fake system is left out of the loop so that only the hook is measured; the
// pass end (backup restore) is measured on its own. Every operator new in a measured
// loop is counted: a pass must allocate nothing.
#include <benchmark/benchmark.h>

#include "bench/bench_recording.h"

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/journal.h"
#include "player/player.h"
#include "recording/recording.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"

namespace {

std::atomic<long> gAllocations{0};


// One pass over every event but the last skip, which would end the pass.
long PlayPass() {
    ResetPlayerForPass();
    long delivered = 0;
    for (int32_t i = 0; i < gRecording.nEventCount; ++i) {
        EVENTMSG record{};
        intptr_t delay = JournalPlaybackProc(HC_GETNEXT, 0, reinterpret_cast<intptr_t>(&record));
        while (delay > 0) {
            fake::tickCount += static_cast<uint32_t>(delay);
            delay = JournalPlaybackProc(HC_GETNEXT, 0, reinterpret_cast<intptr_t>(&record));
        }
        delivered += record.message != 0;
        if (i + 1 < gRecording.nEventCount) JournalPlaybackProc(HC_SKIP, 0, 0);
    }
    return delivered;
}

void BM_PlayPass(benchmark::State& state) {
    FillRecording();
    gSettings.gbSpeed = static_cast<uint8_t>(state.range(0));
    gLog.gbLogLevel = LOG_OFF;
    gSettings.gbPlayUpdate = 0;
    // The fake system keeps the codes passed on; room for them is made before measuring.
    fake::nextHookCodes.reserve(2 * EVENT_CAPACITY);
    long allocations = 0;
    for (auto _ : state) {
        fake::nextHookCodes.clear();
        const long before = gAllocations.load();
        const long delivered = PlayPass();
        allocations += gAllocations.load() - before;
        if (delivered != gRecording.nEventCount) {
            state.SkipWithError("not every event was delivered");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * EVENT_LOAD_LIMIT);
    state.counters["allocations_per_pass"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}

void BM_BackupRecording(benchmark::State& state) {
    FillRecording();
    for (auto _ : state) {
        BackupRecording();
        benchmark::ClobberMemory();
    }
}

void BM_RestoreRecordingBackup(benchmark::State& state) {
    FillRecording();
    BackupRecording();
    for (auto _ : state) {
        RestoreRecordingBackup();
        benchmark::ClobberMemory();
    }
    if (gRecording.nEventCount != EVENT_LOAD_LIMIT) state.SkipWithError("restore lost events");
}

BENCHMARK(BM_PlayPass)->Arg(4)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BackupRecording)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RestoreRecordingBackup)->Unit(benchmark::kMicrosecond);

}  // namespace

// The replacements pair malloc with free themselves; the compiler cannot see that.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { free(p); }
void operator delete(void* p, size_t) noexcept { free(p); }

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!AllocateRecordingStore()) return 1;
    fake::Reset();
    ResetSettings();
    ResetPlayerState();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    FreeRecordingStore();
    return 0;
}
