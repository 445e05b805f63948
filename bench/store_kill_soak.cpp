// Kills writers of the settings store at random moments and checks, after each kill, that
// the store is byte for byte either what it was before the write or what the write makes
// it, and that the temporaries of killed writers do not pile up. It runs for minutes, so
// it is no test of the suite: run it by hand.
//
//   bench_store_kill_soak [KILLS [FOLDER]]     (default 1000 kills in a new folder in /tmp)
#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/posix/registry_internal.h"
#include "platform/registry.h"
#include "platform/wintypes.h"

namespace {

const char kKey[] = "SOFTWARE\\Kelmor";
const char kStoreName[] = "registry.ini";

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Replace(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Write number r: sizes vary so that a cut file can never pass for a whole one.
std::string ValueOf(unsigned r) {
    std::string text(200000 + (r * 7919) % 300000, static_cast<char>('a' + r % 26));
    text += std::to_string(r);
    return std::string(text.c_str(), text.size() + 1);
}

bool Write(unsigned r) {
    const std::string value = ValueOf(r);
    return StoreCreateKey(kKey) &&
           StoreSetValue(kKey, "Big", REG_SZ, value.data(), static_cast<uint32_t>(value.size()));
}

// The store's bytes once write r is applied to a store holding old: the same write done
// on a copy in a folder of its own.
std::string Expected(const std::string& scratchDir, const std::string& old, unsigned r) {
    const std::string scratch = scratchDir + "/" + kStoreName;
    Replace(scratch, old);
    setenv("KELMOR_REGISTRY", scratch.c_str(), 1);
    const bool ok = Write(r);
    const std::string bytes = Contents(scratch);
    unsetenv("KELMOR_REGISTRY");
    if (!ok) {
        fprintf(stderr, "store_kill_soak: the reference write failed\n");
        exit(2);
    }
    return bytes;
}

int CountTemporaries(const std::string& dir) {
    int count = 0;
    if (DIR* d = opendir(dir.c_str())) {
        while (const dirent* entry = readdir(d)) count += kstore::IsTemporaryName(entry->d_name, kStoreName) ? 1 : 0;
        closedir(d);
    }
    return count;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int kills = argc > 1 ? atoi(argv[1]) : 1000;
    std::string dir = argc > 2 ? argv[2] : "/tmp/kelmor-soak-XXXXXX";
    if (kills <= 0 || (argc <= 2 && mkdtemp(&dir[0]) == nullptr)) {
        fprintf(stderr, "usage: bench_store_kill_soak [KILLS [FOLDER]]\n");
        return 2;
    }
    const std::string scratchDir = dir + "/reference";
    const std::string store = dir + "/" + kStoreName;
    std::error_code error;
    std::filesystem::create_directories(scratchDir, error);
    if (error) return 2;

    // A first write gives the store its key; then the time of one whole write in a fresh
    // process sets the window the kills fall in.
    setenv("KELMOR_REGISTRY", store.c_str(), 1);
    if (!Write(0)) return 2;
    std::vector<double> times;
    for (unsigned r = 1; r <= 9; ++r) {
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = fork();
        if (pid == 0) _exit(Write(r) ? 0 : 1);
        waitpid(pid, nullptr, 0);
        times.push_back(MillisecondsSince(start));
    }
    std::sort(times.begin(), times.end());
    const double window = times[times.size() / 2] * 1.5;

    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> moment(0.0, window);
    int landed = 0, finishedFirst = 0, old = 0, fresh = 0, corrupt = 0, mostTemporaries = 0;
    for (unsigned r = 100; landed < kills; ++r) {
        const std::string before = Contents(store);
        const std::string after = Expected(scratchDir, before, r);
        setenv("KELMOR_REGISTRY", store.c_str(), 1);
        pid_t pid = fork();
        if (pid == 0) _exit(Write(r) ? 0 : 1);
        usleep(static_cast<useconds_t>(moment(random) * 1000));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        if (WIFSIGNALED(status)) {
            ++landed;
        } else {
            ++finishedFirst;
        }
        const std::string now = Contents(store);
        if (now == before) {
            ++old;
        } else if (now == after) {
            ++fresh;
        } else {
            ++corrupt;
            fprintf(stderr, "store_kill_soak: write %u left a store of %zu bytes that is neither\n", r, now.size());
        }
        mostTemporaries = std::max(mostTemporaries, CountTemporaries(dir));
    }
    // The next write that gets the lock clears what the killed ones left.
    if (!Write(1)) return 2;
    const int left = CountTemporaries(dir);
    printf("seed %u, kill window %.1f ms (a whole write: %.1f ms)\n", seed, window, times[times.size() / 2]);
    printf("runs: %d, killed mid-way: %d, finished before the kill: %d\n", landed + finishedFirst, landed,
           finishedFirst);
    printf("old: %d, new: %d, corrupt: %d\n", old, fresh, corrupt);
    printf("temporaries: at most %d at once, %d left after the next write\n", mostTemporaries, left);
    if (argc <= 2) std::filesystem::remove_all(dir, error);
    return corrupt == 0 && left == 0 ? 0 : 1;
}
