// Playback on a real X server, side by side with other players of the same input:
// timing fidelity at Normal speed, key throughput at As Fast As Possible, and start-up.
// Everything is measured where it counts, in an X client that receives the keys: this
// program's own window holds the focus and logs the server time stamp of every key and
// pointer event it gets. Each player runs as a child; nothing here links the core.
//
//   bench_x11_playback [--kelmor PATH] [--cnee PATH] [--xdotool PATH] [--runs N]
//                      [--only fidelity|throughput|startup] [--keep]
//
// --runs: runs per throughput and start-up figure (median shown; default 5); --keep:
// leave the generated inputs, and a dump of what a failed run received, in /tmp.
// Run it on a private server with no window manager (tests/e2e/with-xvfb). Without
// --kelmor only the other players are measured. Exit status 0 when every player that
// was asked for ran to the end, 1 when one could not be run or fell short, 2 on bad usage
// or no display.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <ftw.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "bench_child.h"

namespace {

using namespace bench;

// The inputs. The seed is fixed so that every run plays the same gaps and text.
constexpr uint32_t kSeed = 20040815;
constexpr int kFidelityEvents = 300;
constexpr int kMinGapMs = 1;
constexpr int kMaxGapMs = 200;
constexpr int kBulkEvents = 20000;
constexpr int kTypedChars = 5000;
// "TYPE " plus the text must fit the 1023 characters a script line may hold.
constexpr int kTypeLineChars = 1000;
constexpr uint32_t kFirstTime = 1000000;

// One key as the players are to send it and the logger is to receive it.
struct Stroke {
    bool down;
    int keycode;
    int vk;
    uint32_t time;  // recorded time stamp, ms
};

// One event as the logger received it.
struct Received {
    int type;
    unsigned detail;  // keycode or button
    uint32_t time;    // the server's time stamp, ms
};

// ---------------------------------------------------------------------------------------
// The logger window

struct Logger {
    Display* display = nullptr;
    Window window = 0;
    Atom clockAtom = 0;
    std::vector<Received> events;
};

void TakeEvent(Logger& logger, const XEvent& event) {
    switch (event.type) {
        case MappingNotify: {
            XMappingEvent mapping = event.xmapping;
            XRefreshKeyboardMapping(&mapping);
            break;
        }
        case KeyPress:
        case KeyRelease:
            logger.events.push_back({event.type, event.xkey.keycode, static_cast<uint32_t>(event.xkey.time)});
            break;
        case ButtonPress:
        case ButtonRelease:
            logger.events.push_back({event.type, event.xbutton.button, static_cast<uint32_t>(event.xbutton.time)});
            break;
        case MotionNotify:
            logger.events.push_back({event.type, 0, static_cast<uint32_t>(event.xmotion.time)});
            break;
        default:
            break;
    }
}

// Takes every event already queued or sitting on the connection.
void Pump(Logger& logger) {
    while (XPending(logger.display) > 0) {
        XEvent event;
        XNextEvent(logger.display, &event);
        TakeEvent(logger, event);
    }
}

bool OpenLogger(Logger& logger) {
    logger.display = XOpenDisplay(nullptr);
    if (logger.display == nullptr) return false;
    Display* d = logger.display;
    // The players must not inherit the logger's connection.
    fcntl(ConnectionNumber(d), F_SETFD, FD_CLOEXEC);
    int screen = DefaultScreen(d);
    logger.window = XCreateSimpleWindow(d, RootWindow(d, screen), 0, 0, 400, 300, 0, BlackPixel(d, screen),
                                        WhitePixel(d, screen));
    XStoreName(d, logger.window, "Kelmor playback logger");
    XSelectInput(d, logger.window,
                 KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                     StructureNotifyMask | PropertyChangeMask);
    logger.clockAtom = XInternAtom(d, "KELMOR_BENCH_CLOCK", False);
    XMapRaised(d, logger.window);
    // Focus can only go to a viewable window.
    for (;;) {
        XEvent event;
        XNextEvent(d, &event);
        if (event.type == MapNotify && event.xmap.window == logger.window) break;
    }
    return true;
}

// Puts the focus and the pointer on the logger and forgets whatever arrived so far, so
// that a run starts from a quiet, known state.
void PrepareRun(Logger& logger) {
    XWarpPointer(logger.display, None, logger.window, 0, 0, 0, 0, 200, 150);
    XSetInputFocus(logger.display, logger.window, RevertToPointerRoot, CurrentTime);
    XSync(logger.display, False);
    int64_t until = MonotonicMs() + 150;
    while (MonotonicMs() < until) {
        Pump(logger);
        usleep(5000);
    }
    Pump(logger);
    logger.events.clear();
}

// The server's clock minus ours, in ms, from a property change (whose notification
// carries the server time) bracketed by our clock; the tightest of a few tries wins.
// X servers on Linux stamp events with CLOCK_MONOTONIC, so this is normally within a
// millisecond or two of 0; measuring it keeps the start-up figures honest either way.
int64_t ServerClockOffset(Logger& logger) {
    int64_t best = 0;
    int64_t bestSpan = INT64_MAX;
    for (int i = 0; i < 7; ++i) {
        long value = i;
        int64_t before = MonotonicMs();
        XChangeProperty(logger.display, logger.window, logger.clockAtom, XA_INTEGER, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&value), 1);
        XFlush(logger.display);
        uint32_t serverTime = 0;
        for (;;) {
            XEvent event;
            XNextEvent(logger.display, &event);
            if (event.type == PropertyNotify && event.xproperty.atom == logger.clockAtom) {
                serverTime = static_cast<uint32_t>(event.xproperty.time);
                break;
            }
            TakeEvent(logger, event);
        }
        int64_t after = MonotonicMs();
        if (after - before < bestSpan) {
            bestSpan = after - before;
            uint32_t middle = static_cast<uint32_t>((before + after) / 2);
            best = static_cast<int32_t>(serverTime - middle);
        }
    }
    return best;
}

// ---------------------------------------------------------------------------------------
// Inputs

struct Inputs {
    std::string folder;
    std::vector<Stroke> fidelity;  // (a) timed key strokes
    std::vector<Stroke> bulk;      // (b) the long recording
    std::string typed;             // (c) the text
    std::vector<Stroke> typedStrokes;
    std::vector<Stroke> startup;   // one key, for the start-up runs
    std::string fidelityKlx, fidelityCnee, bulkKlx, typeKlx, startupKlx, startupCnee;
};

// Letter keycodes from the server's own keymap: a player that injects by keycode and
// one that looks up keysyms must both land on these.
bool LetterKeycodes(Display* d, int keycodes[26]) {
    for (int i = 0; i < 26; ++i) {
        keycodes[i] = XKeysymToKeycode(d, XK_a + i);
        if (keycodes[i] < 8) return false;
    }
    return true;
}

bool WriteText(const std::string& path, const std::string& text) {
    FILE* f = fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    return fclose(f) == 0 && ok;
}

std::string KlxLines(const std::vector<Stroke>& strokes) {
    std::string text;
    char line[128];
    for (const Stroke& s : strokes) {
        unsigned paramL = static_cast<unsigned>(s.vk) | static_cast<unsigned>(s.keycode - 8) << 8;
        snprintf(line, sizeof line, "message=%s paramH=1 paramL=%u time=%" PRIu32 "\n",
                 s.down ? "WM_KEYDOWN" : "WM_KEYUP", paramL, s.time);
        text += line;
    }
    return text;
}

// Core-event lines of a cnee session: 0 (event), type 2/3 (press/release), keycode in
// the sixth field, the time in the eighth. Played with --force-core-replay, which takes
// these instead of the per-device lines cnee records on XInput servers.
std::string CneeLines(const std::vector<Stroke>& strokes) {
    std::string text = "# cnee session: core key events\n";
    char line[96];
    for (const Stroke& s : strokes) {
        snprintf(line, sizeof line, "0,%d,0,0,0,%d,0,%" PRIu32 "\n", s.down ? KeyPress : KeyRelease, s.keycode, s.time);
        text += line;
    }
    return text;
}

// The keys that type the text in the layout the server has now: one press and release
// each, no modifier.
std::vector<Stroke> TypedStrokes(Display* d, const std::string& text) {
    std::vector<Stroke> strokes;
    for (char c : text) {
        KeySym sym = c == ' ' ? XK_space : static_cast<KeySym>(c);
        int keycode = XKeysymToKeycode(d, sym);
        strokes.push_back({true, keycode, 0, 0});
        strokes.push_back({false, keycode, 0, 0});
    }
    return strokes;
}

bool MakeInputs(Display* d, Inputs& in) {
    int letters[26];
    if (!LetterKeycodes(d, letters)) {
        fprintf(stderr, "the server's keymap lacks a letter a-z\n");
        return false;
    }
    std::mt19937 random(kSeed);

    uint32_t time = kFirstTime;
    for (int i = 0; i < kFidelityEvents; ++i) {
        int letter = static_cast<int>(random() % 26);
        if (i % 2 == 1) letter = in.fidelity.back().vk - 'A';
        if (i > 0) time += kMinGapMs + static_cast<uint32_t>(random() % (kMaxGapMs - kMinGapMs + 1));
        in.fidelity.push_back({i % 2 == 0, letters[letter], 'A' + letter, time});
    }
    time = kFirstTime;
    for (int i = 0; i < kBulkEvents; ++i) {
        int letter = (i / 2) % 26;
        in.bulk.push_back({i % 2 == 0, letters[letter], 'A' + letter, time});
        time += 5;
    }
    in.startup.push_back({true, letters[0], 'A', kFirstTime});
    in.startup.push_back({false, letters[0], 'A', kFirstTime + 20});

    // Lower-case letters, digits and blanks: one press and release each, no Shift, no
    // token; no line starts with a blank, which TYPE would skip.
    const char alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789          ";
    const int alphabetSize = static_cast<int>(sizeof alphabet - 1);
    std::string typeScript = "; One text of " + std::to_string(kTypedChars) + " characters in lines of " +
                             std::to_string(kTypeLineChars) + ", each within the 1023 characters of a script line.\n";
    for (int i = 0; i < kTypedChars; ++i) {
        char c = alphabet[random() % alphabetSize];
        if (i % kTypeLineChars == 0 && c == ' ') c = 'k';
        in.typed += c;
    }
    for (int i = 0; i < kTypedChars; i += kTypeLineChars) typeScript += "TYPE " + in.typed.substr(i, kTypeLineChars) + "\n";
    in.typedStrokes = TypedStrokes(d, in.typed);

    char folder[] = "/tmp/kelmor-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        perror("mkdtemp");
        return false;
    }
    in.folder = folder;
    in.fidelityKlx = in.folder + "/fidelity.klx";
    in.fidelityCnee = in.folder + "/fidelity.xns";
    in.bulkKlx = in.folder + "/bulk.klx";
    in.typeKlx = in.folder + "/type.klx";
    in.startupKlx = in.folder + "/startup.klx";
    in.startupCnee = in.folder + "/startup.xns";
    const std::string header = "; Generated by bench_x11_playback.\n";
    bool ok = WriteText(in.fidelityKlx, header + KlxLines(in.fidelity)) &&
              WriteText(in.fidelityCnee, CneeLines(in.fidelity)) &&
              WriteText(in.bulkKlx, header + KlxLines(in.bulk)) && WriteText(in.typeKlx, header + typeScript) &&
              WriteText(in.startupKlx, header + KlxLines(in.startup)) &&
              WriteText(in.startupCnee, CneeLines(in.startup));
    if (!ok) fprintf(stderr, "cannot write the inputs in %s: %s\n", folder, strerror(errno));
    return ok;
}

// ---------------------------------------------------------------------------------------
// Running a player

struct Run {
    bool started = false;   // the program could be executed
    bool finished = false;  // it exited by itself within the time limit
    int exitCode = -1;      // its exit status, or 128 + signal
    long peakRssKb = 0;
    uint32_t launchServerMs = 0;  // the moment of fork, on the server's clock
    int keysLeftDown = 0;         // keys still held once the player had exited
    std::vector<Received> events;
    std::string log;  // its standard output and error
};

// Releases every key the server still holds down and returns how many there were. A
// player that exits with a key down has left the desktop broken, and the next player
// would start from it.
int ReleaseHeldKeys(Display* d) {
    char keys[32];
    XQueryKeymap(d, keys);
    int held = 0;
    for (int keycode = 8; keycode < 256; ++keycode) {
        if ((keys[keycode / 8] & (1 << (keycode % 8))) == 0) continue;
        XTestFakeKeyEvent(d, static_cast<unsigned>(keycode), False, CurrentTime);
        ++held;
    }
    XSync(d, False);
    return held;
}

// Runs argv as a child with its settings and state folders in the work folder,
// collecting what the logger receives until the child has exited and `expected` input
// events have arrived (or the line stays quiet), or until timeoutMs has passed.
Run RunPlayer(Logger& logger, const Inputs& in, const std::vector<std::string>& argv, size_t expected,
              int64_t timeoutMs) {
    Run run;
    PrepareRun(logger);
    int64_t offset = ServerClockOffset(logger);
    logger.events.clear();

    std::string logPath = in.folder + "/player.log";
    int64_t launch = MonotonicMs();
    pid_t pid = StartChild(argv, in.folder, logPath);
    if (pid < 0) return run;
    run.launchServerMs = static_cast<uint32_t>(launch + offset);

    int fd = ConnectionNumber(logger.display);
    int64_t deadline = launch + timeoutMs;
    bool exited = false;
    int status = 0;
    rusage usage{};
    int64_t quietSince = 0;
    size_t lastCount = 0;
    for (;;) {
        Pump(logger);
        int64_t now = MonotonicMs();
        if (!exited && wait4(pid, &status, WNOHANG, &usage) == pid) {
            exited = true;
            // What the child sent before it exited may still be on its way: ask the
            // server to catch up before judging the count.
            XSync(logger.display, False);
            quietSince = now;
            continue;
        }
        if (logger.events.size() != lastCount) {
            lastCount = logger.events.size();
            quietSince = now;
        }
        if (exited && (logger.events.size() >= expected || now - quietSince > 1000)) break;
        if (now > deadline) {
            if (!exited) EndChild(pid, status, usage);
            break;
        }
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 5);
    }
    // A run that reached its count has nothing left to arrive, but take what is queued.
    XSync(logger.display, False);
    Pump(logger);
    run.keysLeftDown = ReleaseHeldKeys(logger.display);

    run.events = logger.events;
    run.peakRssKb = usage.ru_maxrss;
    run.log = TailOf(logPath, 600);
    if (exited) {
        run.finished = true;
        run.exitCode = ExitCode(status);
        run.started = run.exitCode != 127;
    } else {
        run.started = true;
    }
    return run;
}

// ---------------------------------------------------------------------------------------
// Figures

std::vector<Received> KeysOnly(const std::vector<Received>& events) {
    std::vector<Received> keys;
    for (const Received& e : events)
        if (e.type == KeyPress || e.type == KeyRelease) keys.push_back(e);
    return keys;
}

// Strokes that arrived as a different key or direction than was sent, position by
// position over the shorter of the two.
int WrongStrokes(const std::vector<Received>& keys, const std::vector<Stroke>& sent) {
    int wrong = 0;
    for (size_t i = 0; i < keys.size() && i < sent.size(); ++i) {
        int type = sent[i].down ? KeyPress : KeyRelease;
        if (keys[i].type != type || static_cast<int>(keys[i].detail) != sent[i].keycode) ++wrong;
    }
    return wrong;
}

// A player's run judged as complete: it ran, exited 0 and delivered what was asked.
bool Complete(const Run& run, size_t keys, size_t expected, int wrong) {
    return run.started && run.finished && run.exitCode == 0 && keys == expected && wrong == 0 &&
           run.keysLeftDown == 0;
}

std::string Verdict(const Run& run, size_t keys, size_t expected, int wrong) {
    char text[96];
    if (!run.started) return "could not be started";
    if (!run.finished) {
        snprintf(text, sizeof text, "timed out after %zu of %zu", keys, expected);
        return text;
    }
    if (run.exitCode != 0) {
        snprintf(text, sizeof text, "exit %d, %zu of %zu", run.exitCode, keys, expected);
        return text;
    }
    if (keys != expected) {
        snprintf(text, sizeof text, "%zu of %zu%s", keys, expected, run.keysLeftDown > 0 ? ", a key left held" : "");
        return text;
    }
    if (wrong > 0) {
        snprintf(text, sizeof text, "%d keys wrong", wrong);
        return text;
    }
    if (run.keysLeftDown > 0) {
        snprintf(text, sizeof text, "left %d keys held down", run.keysLeftDown);
        return text;
    }
    return "ok";
}

struct Options {
    std::string kelmor;
    std::string cnee = "cnee";
    std::string xdotool = "xdotool";
    int runs = 5;
    bool keep = false;
    std::string only;  // one of fidelity, throughput, startup; empty for all three
};

Options gOptions;
bool gFailed = false;

bool Wanted(const char* section) {
    return gOptions.only.empty() || gOptions.only == section;
}
int gDumps = 0;

const char* TypeName(int type) {
    return type == KeyPress ? "press" : type == KeyRelease ? "release" : "other";
}

// Says what went wrong: the player's last words, where the keys first parted from what
// was sent, and (with --keep) every event received, for a closer look.
void ShowFailure(const char* what, const Inputs& in, const Run& run, const std::vector<Received>& keys,
                 const std::vector<Stroke>& sent) {
    gFailed = true;
    fprintf(stderr, "--- %s did not run to the end; the end of its output:\n%s\n", what, run.log.c_str());
    size_t first = 0;
    while (first < keys.size() && first < sent.size() &&
           keys[first].type == (sent[first].down ? KeyPress : KeyRelease) &&
           static_cast<int>(keys[first].detail) == sent[first].keycode)
        ++first;
    if (first < keys.size() || first < sent.size()) {
        fprintf(stderr, "first difference at key event %zu of %zu sent:\n", first, sent.size());
        for (size_t i = first >= 3 ? first - 3 : 0; i < first + 4 && (i < keys.size() || i < sent.size()); ++i) {
            fprintf(stderr, "  %6zu  sent %-7s %3d", i, i < sent.size() ? (sent[i].down ? "press" : "release") : "-",
                    i < sent.size() ? sent[i].keycode : 0);
            if (i < keys.size())
                fprintf(stderr, "   received %-7s %3u at %" PRIu32 "\n", TypeName(keys[i].type), keys[i].detail,
                        keys[i].time);
            else
                fprintf(stderr, "   received -\n");
        }
    }
    if (gOptions.keep) {
        std::string dump;
        char line[64];
        for (const Received& e : run.events) {
            snprintf(line, sizeof line, "%d %u %" PRIu32 "\n", e.type, e.detail, e.time);
            dump += line;
        }
        std::string path = in.folder + "/received-" + std::to_string(++gDumps) + ".txt";
        if (WriteText(path, dump)) fprintf(stderr, "every event received (type keycode time): %s\n", path.c_str());
    }
}

void Fidelity(Logger& logger, const Inputs& in, const char* name, const std::vector<std::string>& argv) {
    uint32_t span = in.fidelity.back().time - in.fidelity.front().time;
    Run run = RunPlayer(logger, in, argv, in.fidelity.size(), span + 60000);
    std::vector<Received> keys = KeysOnly(run.events);
    int wrong = WrongStrokes(keys, in.fidelity);
    std::string verdict = Verdict(run, keys.size(), in.fidelity.size(), wrong);
    if (!Complete(run, keys.size(), in.fidelity.size(), wrong)) {
        printf("%-26s %s\n", name, verdict.c_str());
        ShowFailure(name, in, run, keys, in.fidelity);
        return;
    }
    std::vector<double> errors;
    double signedSum = 0;
    for (size_t i = 1; i < keys.size(); ++i) {
        double got = static_cast<int32_t>(keys[i].time - keys[i - 1].time);
        double want = static_cast<double>(in.fidelity[i].time - in.fidelity[i - 1].time);
        errors.push_back(std::fabs(got - want));
        signedSum += got - want;
    }
    double received = static_cast<int32_t>(keys.back().time - keys.front().time);
    double totalError = (received - span) * 100.0 / span;
    printf("%-26s %8.1f %8.1f %8.1f %+8.1f %+9.2f %%   %.0f of %" PRIu32 " ms\n", name, Percentile(errors, 0.5),
           Percentile(errors, 0.99), Percentile(errors, 1.0), signedSum / static_cast<double>(errors.size()),
           totalError, received, span);
}

// The runs of one player on one input: on a busy machine one run says little.
struct Series {
    std::string name, input;
    std::vector<std::string> argv;
    std::vector<Stroke> sent;
    std::vector<double> rates, spans;
    bool failed = false;
};

// One more run of the series; false (and the failure shown) when it fell short.
bool RunOnce(Logger& logger, const Inputs& in, Series& series) {
    if (series.failed) return false;
    Run run = RunPlayer(logger, in, series.argv, series.sent.size(), 120000);
    std::vector<Received> keys = KeysOnly(run.events);
    int wrong = WrongStrokes(keys, series.sent);
    if (!Complete(run, keys.size(), series.sent.size(), wrong)) {
        // The rate of what did arrive still tells where the time goes.
        std::string rate;
        if (keys.size() > 1) {
            int32_t span = std::max(static_cast<int32_t>(keys.back().time - keys.front().time), 1);
            rate = " (arrived at " + std::to_string(static_cast<long>(keys.size() * 1000.0 / span)) + "/s)";
        }
        printf("%-26s %-16s %s%s\n", series.name.c_str(), series.input.c_str(),
               Verdict(run, keys.size(), series.sent.size(), wrong).c_str(), rate.c_str());
        ShowFailure(series.name.c_str(), in, run, keys, series.sent);
        series.failed = true;
        return false;
    }
    int32_t span = std::max(static_cast<int32_t>(keys.back().time - keys.front().time), 1);
    series.spans.push_back(span);
    series.rates.push_back(static_cast<double>(keys.size()) * 1000.0 / span);
    return true;
}

// The median rate of the series (0 when it failed), after its row.
double Report(Series& series) {
    if (series.failed || series.rates.empty()) return 0;
    printf("%-26s %-16s %8zu %8.0f %12.0f %8.0f %8.0f\n", series.name.c_str(), series.input.c_str(),
           series.sent.size(), Percentile(series.spans, 0.5), Percentile(series.rates, 0.5),
           Percentile(series.rates, 0.0), Percentile(series.rates, 1.0));
    return Percentile(series.rates, 0.5);
}

double Throughput(Logger& logger, const Inputs& in, const char* name, const char* input,
                  const std::vector<std::string>& argv, const std::vector<Stroke>& sent) {
    Series series{name, input, argv, sent, {}, {}, false};
    for (int i = 0; i < gOptions.runs; ++i) RunOnce(logger, in, series);
    return Report(series);
}

// The median of the ratios of two series' runs taken side by side; 0 when one failed.
double PairedRatio(const Series& over, const Series& under) {
    std::vector<double> ratios;
    for (size_t i = 0; i < over.rates.size() && i < under.rates.size(); ++i) ratios.push_back(over.rates[i] / under.rates[i]);
    return over.failed || under.failed || ratios.empty() ? 0 : Percentile(ratios, 0.5);
}

// Gives the server a keyboard layout as a user would (setxkbmap) and reads its keymap
// back (xkbcomp) to be sure it holds: a server that resets its keymap when its last
// client leaves (run it with -noreset) would measure the old one. The logger's copy of
// the mapping follows the notice.
bool SetLayout(Logger& logger, const std::string& layout) {
    if (system(("setxkbmap " + layout).c_str()) != 0) return false;
    FILE* keymap = popen("xkbcomp -xkb \"$DISPLAY\" - 2>/dev/null", "r");
    if (keymap == nullptr) return false;
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, keymap)) > 0) text.append(buffer, n);
    pclose(keymap);
    XSync(logger.display, False);
    Pump(logger);
    return text.find("+" + layout + "+") != std::string::npos;
}

// The first key is all a start-up figure needs, so a run that went wrong later still
// counts here; it is named beside the figures, and fails the benchmark all the same.
void Startup(Logger& logger, const Inputs& in, const char* name, const std::vector<std::string>& argv,
             const std::vector<Stroke>& sent) {
    std::vector<double> delays, peaks;
    int incomplete = 0;
    std::string firstVerdict;
    for (int i = 0; i < gOptions.runs; ++i) {
        Run run = RunPlayer(logger, in, argv, sent.size(), 30000);
        std::vector<Received> keys = KeysOnly(run.events);
        int wrong = WrongStrokes(keys, sent);
        if (!Complete(run, keys.size(), sent.size(), wrong)) {
            if (incomplete++ == 0) {
                firstVerdict = Verdict(run, keys.size(), sent.size(), wrong);
                ShowFailure(name, in, run, keys, sent);
            }
        }
        if (run.started && !keys.empty() && keys.front().type == KeyPress &&
            static_cast<int>(keys.front().detail) == sent.front().keycode) {
            delays.push_back(static_cast<int32_t>(keys.front().time - run.launchServerMs));
            peaks.push_back(static_cast<double>(run.peakRssKb) / 1024.0);
        }
    }
    if (delays.empty()) {
        printf("%-26s %s\n", name, firstVerdict.c_str());
        return;
    }
    printf("%-26s %8.0f %8.0f %8.0f %10.1f", name, Percentile(delays, 0.5), Percentile(delays, 0.0),
           Percentile(delays, 1.0), Percentile(peaks, 0.5));
    if (incomplete > 0) printf("   %d of %d runs: %s", incomplete, gOptions.runs, firstVerdict.c_str());
    printf("\n");
}

void Usage() {
    fprintf(stderr, "usage: bench_x11_playback [--kelmor PATH] [--cnee PATH] [--xdotool PATH] [--runs N]\n"
                    "                          [--only fidelity|throughput|startup] [--keep]\n");
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool hasValue = i + 1 < argc;
        if (a == "--kelmor" && hasValue) {
            options.kelmor = argv[++i];
        } else if (a == "--cnee" && hasValue) {
            options.cnee = argv[++i];
        } else if (a == "--xdotool" && hasValue) {
            options.xdotool = argv[++i];
        } else if (a == "--runs" && hasValue) {
            options.runs = atoi(argv[++i]);
            if (options.runs < 1 || options.runs > 100) return false;
        } else if (a == "--keep") {
            options.keep = true;
        } else if (a == "--only" && hasValue) {
            options.only = argv[++i];
            if (options.only != "fidelity" && options.only != "throughput" && options.only != "startup") return false;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (!ParseOptions(argc, argv, gOptions)) {
        Usage();
        return 2;
    }
    Logger logger;
    if (!OpenLogger(logger)) {
        fprintf(stderr, "cannot open the display '%s'\n", getenv("DISPLAY") ? getenv("DISPLAY") : "");
        return 2;
    }
    int event, error, major, minor;
    if (!XTestQueryExtension(logger.display, &event, &error, &major, &minor)) {
        fprintf(stderr, "the display has no XTEST extension\n");
        return 2;
    }
    Inputs in;
    if (!MakeInputs(logger.display, in)) return 2;
    // A held key must not repeat: every event received is then one a player sent, and a
    // player that stalls with a key down shows as a late release, not as extra keys.
    XKeyboardState keyboard;
    XGetKeyboardControl(logger.display, &keyboard);
    XAutoRepeatOff(logger.display);
    ReleaseHeldKeys(logger.display);
    const bool withKelmor = !gOptions.kelmor.empty();
    const std::string& kelmor = gOptions.kelmor;
    const std::string& cnee = gOptions.cnee;
    const std::string& xdotool = gOptions.xdotool;

    time_t now = time(nullptr);
    char date[32];
    strftime(date, sizeof date, "%Y-%m-%d %H:%M", localtime(&now));
    printf("X11 playback, %s, display %s, %ld cores, server clock - CLOCK_MONOTONIC = %" PRId64 " ms\n", date,
           DisplayString(logger.display), sysconf(_SC_NPROCESSORS_ONLN), ServerClockOffset(logger));
    if (!withKelmor) printf("(no --kelmor: the other players only)\n");

    if (Wanted("fidelity")) {
        printf("\nTiming fidelity: %d key events, gaps %d-%d ms, Normal speed, one run each.\n"
               "Per-gap error |received - recorded| in ms; total error of the first-to-last span.\n",
               kFidelityEvents, kMinGapMs, kMaxGapMs);
        printf("%-26s %8s %8s %8s %8s %11s   %s\n", "player", "median", "p99", "max", "mean", "total err",
               "received span");
        if (withKelmor) Fidelity(logger, in, "kelmor /SPEED=2", {kelmor, in.fidelityKlx, "/SPEED=2"});
        Fidelity(logger, in, "cnee --replay", {cnee, "--replay", "--force-core-replay", "-f", in.fidelityCnee});
    }

    if (Wanted("throughput")) {
        printf("\nThroughput: key events received per second, first to last server time stamp; %d runs.\n",
               gOptions.runs);
        printf("%-26s %-16s %8s %8s %12s %8s %8s\n", "player", "input", "events", "ms", "median/s", "min/s",
               "max/s");
        const std::string typed = std::to_string(kTypedChars) + " chars";
        if (withKelmor) {
            Throughput(logger, in, "kelmor /SPEED=4", (std::to_string(kBulkEvents) + " events").c_str(),
                       {kelmor, in.bulkKlx, "/SPEED=4"}, in.bulk);
        }
        // The text under the US layout and under the German one, where y and z trade keys
        // and typing goes through that layout's levels. The runs take turns, so that both
        // layouts see the machine alike: the ratios are of runs taken side by side.
        const std::vector<std::string> kelmorType = {kelmor, in.typeKlx, "/SPEED=4"};
        const std::vector<std::string> xdotoolType = {xdotool, "type", "--delay", "0", in.typed};
        Series kelmorUs{"kelmor /SPEED=4", "TYPE " + typed, kelmorType, in.typedStrokes, {}, {}, false};
        Series xdotoolUs{"xdotool type --delay 0", typed, xdotoolType, in.typedStrokes, {}, {}, false};
        Series kelmorDe = kelmorUs, xdotoolDe = xdotoolUs;
        kelmorDe.name += " (de)";
        xdotoolDe.name += " (de)";
        for (int i = 0; i < gOptions.runs && !gFailed; ++i) {
            if (!SetLayout(logger, "us")) break;
            if (withKelmor) RunOnce(logger, in, kelmorUs);
            RunOnce(logger, in, xdotoolUs);
            if (!SetLayout(logger, "de")) {
                printf("the de layout could not be set (setxkbmap, xkbcomp): no run under it\n");
                gFailed = true;
                break;
            }
            kelmorDe.sent = xdotoolDe.sent = TypedStrokes(logger.display, in.typed);
            if (withKelmor) RunOnce(logger, in, kelmorDe);
            RunOnce(logger, in, xdotoolDe);
        }
        if (!SetLayout(logger, "us")) gFailed = true;
        for (Series* series : {&kelmorUs, &xdotoolUs, &kelmorDe, &xdotoolDe}) Report(*series);
        const double deOverUs = PairedRatio(kelmorDe, kelmorUs);
        const double usOverXdotool = PairedRatio(kelmorUs, xdotoolUs), deOverXdotool = PairedRatio(kelmorDe, xdotoolDe);
        if (deOverUs > 0) printf("kelmor TYPE under de: %.0f %% of under us (median of paired runs)\n", deOverUs * 100);
        if (usOverXdotool > 0) printf("kelmor TYPE under us: %.1f x xdotool\n", usOverXdotool);
        if (deOverXdotool > 0) printf("kelmor TYPE under de: %.1f x xdotool\n", deOverXdotool);
    }

    if (Wanted("startup")) {
        printf("\nStart-up: launch to the first key received (ms) and peak RSS (MiB); %d runs.\n", gOptions.runs);
        printf("%-26s %8s %8s %8s %10s\n", "player", "median", "min", "max", "peak RSS");
        if (withKelmor) Startup(logger, in, "kelmor FILE", {kelmor, in.startupKlx}, in.startup);
        Startup(logger, in, "cnee --replay", {cnee, "--replay", "--force-core-replay", "-f", in.startupCnee},
                in.startup);
        Startup(logger, in, "xdotool type a", {xdotool, "type", "a"}, in.startup);
    }

    if (gOptions.keep) {
        printf("\ninputs kept in %s\n", in.folder.c_str());
    } else {
        RemoveTree(in.folder);
    }
    if (keyboard.global_auto_repeat == AutoRepeatModeOn) XAutoRepeatOn(logger.display);
    XCloseDisplay(logger.display);
    return gFailed ? 1 : 0;
}
