// The keyboard service hook's cost per key event on its common path, which every key of
// the desktop takes: no Mapping on the key, and a release whose key ends no ShortType.
// The cache is full (64 ShortTypes, which a release scans in full) and holds Mappings on
// other keys; the log is off. The fake system's key state and next hook are in the loop.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

#include "host/mappings.h"
#include "platform/wintypes.h"
#include "service/keyboard_proc.h"
#include "service/service_data.h"
#include "tests/fakes/fakes.h"

namespace {

void FillCache() {
    fake::Reset();
    ResetServiceState();
    AttachServiceData();
    uint8_t action[256] = {}, control[256] = {}, shift[256] = {}, alt[256] = {};
    for (int vk = 0x70; vk <= 0x7B; ++vk) action[vk] = ACTION_TYPE_TEXT, control[vk] = 1;
    char list[1024] = {};
    for (int i = 0; i < 64; ++i) snprintf(list + 16 * i, 16, "word %02d", i);  // ends in a digit
    ReloadServiceCache(1, 1, 0, "", action, control, shift, alt, list, nullptr);
}

void BM_KeyOnTheCommonPath(benchmark::State& state) {
    FillCache();
    static const char kText[] = "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG";
    const size_t length = sizeof kText - 1;
    size_t i = 0;
    long events = 0;
    for (auto _ : state) {
        const uint8_t vk = static_cast<uint8_t>(kText[i]);
        fake::keyboardState[vk] = 0x80;
        benchmark::DoNotOptimize(KelmorKeyboardProc(HC_ACTION, vk, 0));
        fake::keyboardState[vk] = 0;
        benchmark::DoNotOptimize(KelmorKeyboardProc(HC_ACTION, vk, 0));
        events += 2;
        if (++i == length) {
            i = 0;
            fake::nextHookCodes.clear();  // the fake keeps every call; the system does not
        }
    }
    if (fake::keyEvents.size() != 0) state.SkipWithError("a key on the common path typed something");
    state.SetItemsProcessed(events);
    state.counters["ns_per_event"] =
        benchmark::Counter(static_cast<double>(events), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_KeyOnTheCommonPath);

}  // namespace

BENCHMARK_MAIN();
