// Loading and saving a full recording (32766 events) in both forms, on real files in a
// temporary folder. The page cache is warm after the first round, so this measures the
// loader's and writer's own cost plus the system calls they make.
#include <benchmark/benchmark.h>

#include "bench/bench_recording.h"
#include <glib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/file.h"
#include "recording/recording.h"
#include "recording/recording_file.h"

namespace {

std::string gDir;

std::string PathOf(const char* name) { return gDir + "/" + name; }


void Load(benchmark::State& state, const char* name) {
    std::string path = PathOf(name);
    snprintf(gRecording.gszFile, sizeof gRecording.gszFile, "%s", path.c_str());
    for (auto _ : state) {
        if (LoadRecording(gRecording.gszFile) < 0 || gRecording.nEventCount != EVENT_LOAD_LIMIT) {
            state.SkipWithError("load failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * EVENT_LOAD_LIMIT);
}

void Save(benchmark::State& state, const char* name) {
    FillRecording();
    std::string path = PathOf(name);
    for (auto _ : state) {
        // Save As deletes the old file before it writes the new one; replacing a file
        // by truncating it can cost the file system more than the writing itself.
        SysDeleteFile(path.c_str());
        if (!SaveRecordingToFile(path.c_str())) {
            state.SkipWithError("save failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * EVENT_LOAD_LIMIT);
}

void BM_LoadText(benchmark::State& state) { Load(state, "full.klx"); }
void BM_LoadBinary(benchmark::State& state) { Load(state, "full.klr"); }
void BM_SaveText(benchmark::State& state) { Save(state, "saved.klx"); }
void BM_SaveBinary(benchmark::State& state) { Save(state, "saved.klr"); }

BENCHMARK(BM_LoadText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBinary)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!AllocateRecordingStore()) return 1;
    gchar* dir = g_dir_make_tmp("kelmor-bench-XXXXXX", nullptr);
    gDir = dir;
    g_free(dir);
    FillRecording();
    if (!SaveRecordingToFile(PathOf("full.klx").c_str()) || !SaveRecordingToFile(PathOf("full.klr").c_str())) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    FreeRecordingStore();
    std::string cleanup = "rm -rf '" + gDir + "'";
    return system(cleanup.c_str()) == 0 ? 0 : 1;
}
