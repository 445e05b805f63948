// The Kelmor window's start-up beside a minimal GTK 3 window on the same display: the time
// from launch to the program's main window being mapped, and the program's peak resident
// memory once it has shown the window for a moment and been closed as a user closes it
// (WM_DELETE_WINDOW). The two programs run in turns, so both see the same load.
//
//   bench_window_startup --kelmor PATH --floor PATH [--runs N]
//
// --runs: runs per program (median shown; default 9). Each program keeps its settings in
// a work folder of its own for all its runs, so only the first run meets a fresh store;
// that run is a warm-up and is not counted. Run it on a private server with no window
// manager (bench/run-window-startup). A window that changes size after it is mapped fails
// its run. Exit status 0 when every run mapped its window and exited 0, 1 when one did
// not, 2 on bad usage or no display.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench_child.h"
#include "main_window.h"

namespace {

using namespace bench;

// How long the window stays up before it is closed: long enough for its first drawing.
constexpr int64_t kShownMs = 500;
constexpr int64_t kTimeoutMs = 20000;

struct Program {
    const char* name;
    std::string path;
    std::string windowClass;  // the class part of WM_CLASS of its main window
    std::string folder;
    std::vector<double> launchMs, peakMiB;
    int failures = 0;
};

struct Run {
    bool mapped = false;
    // A window that changes size once it is on the screen was not ready when it was mapped:
    // its time to the map would say too little.
    bool resized = false;
    std::string sizes;
    bool exited = false;
    int exitCode = -1;
    int64_t launchMs = 0;
    long peakRssKb = 0;
};

void Close(Display* d, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, window, False, NoEventMask, &event);
    XFlush(d);
}

Run RunOnce(Display* d, const Program& program) {
    Run run;
    // Without a window manager a top-level's MapNotify reaches whoever selects the
    // root's substructure; the program's own windows are told apart by their class.
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, True);
    int64_t launch = MonotonicMs();
    pid_t pid = StartChild({program.path}, program.folder, program.folder + "/program.log");
    if (pid < 0) return run;
    int status = 0;
    rusage usage{};
    Window window = 0;
    int64_t closeAt = 0;
    std::map<Window, std::pair<int, int>> sizes;  // of the top-level windows, as last told
    for (;;) {
        while (XPending(d) > 0) {
            XEvent event;
            XNextEvent(d, &event);
            if (event.type == CreateNotify) {
                sizes[event.xcreatewindow.window] = {event.xcreatewindow.width, event.xcreatewindow.height};
            }
            if (event.type == ConfigureNotify) {
                const std::pair<int, int> size{event.xconfigure.width, event.xconfigure.height};
                if (window != 0 && event.xconfigure.window == window && size != sizes[window]) {
                    run.resized = true;
                    run.sizes = std::to_string(sizes[window].first) + "x" + std::to_string(sizes[window].second) +
                                " to " + std::to_string(size.first) + "x" + std::to_string(size.second);
                }
                if (window == 0) sizes[event.xconfigure.window] = size;
            }
            if (event.type == MapNotify && window == 0 &&
                IsMainWindow(d, event.xmap.window, event.xmap.override_redirect, program.windowClass)) {
                run.launchMs = MonotonicMs() - launch;
                run.mapped = true;
                window = event.xmap.window;
                closeAt = MonotonicMs() + kShownMs;
            }
        }
        int64_t now = MonotonicMs();
        if (wait4(pid, &status, WNOHANG, &usage) == pid) {
            run.exited = true;
            break;
        }
        if (closeAt != 0 && now >= closeAt) {
            Close(d, window);
            closeAt = 0;
        }
        if (now - launch > kTimeoutMs) {
            EndChild(pid, status, usage);
            break;
        }
        pollfd p{ConnectionNumber(d), POLLIN, 0};
        poll(&p, 1, 2);
    }
    XSelectInput(d, DefaultRootWindow(d), NoEventMask);
    XSync(d, True);
    run.exitCode = ExitCode(status);
    run.peakRssKb = usage.ru_maxrss;
    if (run.resized) fprintf(stderr, "%s: its window changed size after it was mapped, %s\n", program.name, run.sizes.c_str());
    if (!run.mapped || !run.exited || run.exitCode != 0) {
        fprintf(stderr, "%s: %s, exit status %d; its output:\n%s\n", program.name,
                !run.mapped ? "no window mapped" : !run.exited ? "still running after the close" : "failed",
                run.exitCode, TailOf(program.folder + "/program.log", 600).c_str());
    }
    return run;
}

void Usage() {
    fprintf(stderr, "usage: bench_window_startup --kelmor PATH --floor PATH [--runs N]\n");
}

}  // namespace

int main(int argc, char** argv) {
    Program kelmor{"kelmor", "", "Kelmor", "", {}, {}, 0};
    Program floor{"minimal GTK window", "", "Minimal-gtk-window", "", {}, {}, 0};
    int runs = 9;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (i + 1 >= argc) {
            Usage();
            return 2;
        }
        if (option == "--kelmor") {
            kelmor.path = argv[++i];
        } else if (option == "--floor") {
            floor.path = argv[++i];
        } else if (option == "--runs") {
            runs = atoi(argv[++i]);
        } else {
            Usage();
            return 2;
        }
    }
    if (kelmor.path.empty() || floor.path.empty() || runs < 1) {
        Usage();
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        fprintf(stderr, "bench_window_startup: cannot open the display\n");
        return 2;
    }
    char folderTemplate[] = "/tmp/kelmor-window-bench-XXXXXX";
    if (mkdtemp(folderTemplate) == nullptr) {
        perror("mkdtemp");
        return 2;
    }
    std::string folder = folderTemplate;
    kelmor.folder = folder + "/kelmor";
    floor.folder = folder + "/floor";
    mkdir(kelmor.folder.c_str(), 0700);
    mkdir(floor.folder.c_str(), 0700);

    for (int i = 0; i <= runs; ++i) {
        for (Program* program : {&kelmor, &floor}) {
            Run run = RunOnce(d, *program);
            if (!run.mapped || run.resized || !run.exited || run.exitCode != 0) {
                ++program->failures;
                continue;
            }
            if (i == 0) continue;  // the warm-up
            program->launchMs.push_back(static_cast<double>(run.launchMs));
            program->peakMiB.push_back(static_cast<double>(run.peakRssKb) / 1024.0);
        }
    }
    XCloseDisplay(d);
    RemoveTree(folder);

    printf("Window start-up, display %s, %d runs each (median, min-max)\n", getenv("DISPLAY"), runs);
    printf("%-20s %14s %16s %20s\n", "program", "launch->map ms", "(min-max)", "peak RSS MiB (min-max)");
    for (const Program* program : {&kelmor, &floor}) {
        printf("%-20s %14.0f %7.0f-%-8.0f %9.1f (%.1f-%.1f)", program->name, Percentile(program->launchMs, 0.5),
               Percentile(program->launchMs, 0.0), Percentile(program->launchMs, 1.0),
               Percentile(program->peakMiB, 0.5), Percentile(program->peakMiB, 0.0),
               Percentile(program->peakMiB, 1.0));
        if (program->failures > 0) printf("   %d runs failed", program->failures);
        printf("\n");
    }
    printf("kelmor / floor: %.2f x time, %.2f x memory (aim: at most 1.3 x time)\n",
           Percentile(kelmor.launchMs, 0.5) / Percentile(floor.launchMs, 0.5),
           Percentile(kelmor.peakMiB, 0.5) / Percentile(floor.peakMiB, 0.5));
    return kelmor.failures + floor.failures > 0 ? 1 : 0;
}
