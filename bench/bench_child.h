// What the benchmarks that run other programs share: a millisecond clock, a child run in
// a settings folder of its own with its output in a log, its end with the peak memory
// the kernel counted, the median, and the clean-up of the work folder.
#pragma once

#include <fcntl.h>
#include <ftw.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace bench {

inline int64_t MonotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

inline double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return NAN;
    std::sort(values.begin(), values.end());
    size_t rank = static_cast<size_t>(std::ceil(fraction * static_cast<double>(values.size())));
    return values[std::min(values.size(), std::max<size_t>(rank, 1)) - 1];
}

inline std::string TailOf(const std::string& path, size_t bytes) {
    FILE* f = fopen(path.c_str(), "rb");
    if (f == nullptr) return "";
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    fclose(f);
    return text.size() > bytes ? text.substr(text.size() - bytes) : text;
}

// Starts argv with its standard output and error in logPath, no input, and its
// settings, state and registry in `folder`, away from the user's own; caches stay
// where they are, as a user's would be warm. Returns the child, or -1.
inline pid_t StartChild(const std::vector<std::string>& argv, const std::string& folder,
                        const std::string& logPath) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::string config = "XDG_CONFIG_HOME=" + folder + "/config";
    std::string state = "XDG_STATE_HOME=" + folder + "/state";
    std::string data = "XDG_DATA_HOME=" + folder + "/data";
    std::string registry = "KELMOR_REGISTRY=" + folder + "/registry.ini";
    for (const char* sub : {"/config", "/state", "/data"}) mkdir((folder + sub).c_str(), 0700);

    pid_t pid = fork();
    if (pid < 0) {
        perror("fork");
        return -1;
    }
    if (pid == 0) {
        int fd = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0) {
            dup2(fd, STDOUT_FILENO);
            dup2(fd, STDERR_FILENO);
            close(fd);
        }
        int devnull = open("/dev/null", O_RDONLY);
        if (devnull >= 0) dup2(devnull, STDIN_FILENO);
        putenv(const_cast<char*>(config.c_str()));
        putenv(const_cast<char*>(state.c_str()));
        putenv(const_cast<char*>(data.c_str()));
        putenv(const_cast<char*>(registry.c_str()));
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

// Ends a child that has not exited by itself: SIGTERM, then SIGKILL after 2 s.
inline void EndChild(pid_t pid, int& status, rusage& usage) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (wait4(pid, &status, WNOHANG, &usage) == pid) return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    wait4(pid, &status, 0, &usage);
}

inline int ExitCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

inline int RemoveEntry(const char* path, const struct stat*, int, FTW*) {
    return remove(path);
}

// The work folder with whatever the programs left in it (settings, logs).
inline void RemoveTree(const std::string& folder) {
    nftw(folder.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

}  // namespace bench
