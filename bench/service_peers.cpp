// The keyboard service beside AutoKey on the same display, typing into the same receiving
// client (tests/e2e/key_probe.cpp, which stamps every key event it gets with the monotonic
// clock). Keys are pressed here with XTest, stamped with the same clock just before they
// are sent. For each program, with "btw" -> "by the way", Ctrl+F7 -> "my address" and
// Ctrl+F8 -> 255 characters:
//   - from the release of the last key of btw to the first BackSpace and to the last key
//     of "by the way";
//   - from the hot key's press to the first typed key (the hot key held 40 ms, as a
//     person holds it);
//   - the 255 characters' total time (the longest Mapping text), and whether the digits
//     1 2 3 pressed by the user during that typing all arrived;
//   - whether the hot key's own press or release reached the client;
//   - how many typed keys were real (server input) and how many XSendEvent'ed, and how
//     many the client read with Ctrl held (the hot key's Ctrl leaking into the text);
//   - ready time: launch until Ctrl+F7 first types;
//   - resident memory once ready and after the runs.
//
//   bench_service_peers --probe PATH [--kelmor PATH] [--autokey] [--runs N] [--warm-up PATH]
//
// --warm-up: a GTK program shown for a moment first. The first GTK program on a display
// probes its OpenGL visuals (tens of MiB, kept for the later ones in a root property), so
// neither program measured pays for being first.
//
// Run it on a private server with no window manager (bench/run-service-peers). Prints one
// table; exit status 0 when every program measured was ready, 1 when one was not, 2 on
// bad usage or no display.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench_child.h"
#include "main_window.h"

namespace {

using namespace bench;

const char* const kPhrase = "by the way";
const char* const kAddress = "my address";
// A Mapping's text is read into 256 characters: the long text is the longest that fits.
constexpr int kLongLength = 255;
constexpr int64_t kTrialTimeoutMs = 3000;

int64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Lower-case words, so that no Shift is typed and no digit (the digits
// are the user's keys typed in between).
std::string LongText() {
    static const char* const words[] = {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf"};
    std::string text;
    for (int i = 0; text.size() < kLongLength; ++i) text += std::string(words[i % 7]) + " ";
    text.resize(kLongLength - 1);
    return text + "z";
}

struct KeyEvent {
    bool press;
    std::string sym;
    int64_t ns;
    bool sent;
    unsigned state;  // the modifier mask the client read with the key
};

// The probe's lines, read from its log as they come.
class Probe {
public:
    bool Start(const std::string& path, const std::string& folder) {
        log_ = folder + "/probe.log";
        pid_ = StartChild({path, "Kelmor bench probe", "--keep-focus"}, folder, log_);
        for (int64_t until = MonotonicMs() + 10000; MonotonicMs() < until; usleep(10000)) {
            if (TailOf(log_, 1 << 20).find("ready") != std::string::npos) {
                offset_ = TailOf(log_, 1 << 20).size();
                return true;
            }
        }
        return false;
    }
    void Stop() {
        int status = 0;
        rusage usage{};
        if (pid_ > 0) EndChild(pid_, status, usage);
    }
    // Events that arrived since the last call.
    std::vector<KeyEvent> Take() {
        std::vector<KeyEvent> events;
        FILE* f = fopen(log_.c_str(), "rb");
        if (f == nullptr) return events;
        fseek(f, static_cast<long>(offset_), SEEK_SET);
        char line[256];
        while (fgets(line, sizeof line, f) != nullptr) {
            if (line[strlen(line) - 1] != '\n') break;  // the rest of it is still being written
            offset_ += strlen(line);
            char kind[16], sym[64], how[16];
            long long ns = 0;
            unsigned state = 0;
            if (sscanf(line, "%15s %63s %lld %15s %u", kind, sym, &ns, how, &state) == 5)
                events.push_back({strcmp(kind, "press") == 0, sym, ns, strcmp(how, "sent") == 0, state});
        }
        fclose(f);
        return events;
    }
    // Collects events until `done` says the trial is complete or the time is up.
    template <typename Done>
    std::vector<KeyEvent> Until(Done done, int64_t timeoutMs = kTrialTimeoutMs) {
        std::vector<KeyEvent> all;
        for (int64_t until = MonotonicMs() + timeoutMs; MonotonicMs() < until; usleep(1000)) {
            for (KeyEvent& e : Take()) all.push_back(e);
            if (done(all)) break;
        }
        return all;
    }
    // Waits until nothing has come for `quietMs`, dropping what came.
    void Settle(int quietMs = 150) {
        int64_t last = MonotonicMs();
        while (MonotonicMs() - last < quietMs) {
            if (!Take().empty()) last = MonotonicMs();
            usleep(5000);
        }
    }

private:
    std::string log_;
    size_t offset_ = 0;
    pid_t pid_ = -1;
};

class Keyboard {
public:
    explicit Keyboard(Display* d) : d_(d) {}
    // Sends one key event; returns the monotonic time just before it left.
    int64_t Send(const char* sym, bool press) {
        KeyCode code = XKeysymToKeycode(d_, XStringToKeysym(sym));
        int64_t at = MonotonicNs();
        XTestFakeKeyEvent(d_, code, press ? True : False, CurrentTime);
        XFlush(d_);
        return at;
    }
    void Tap(const char* sym) {
        Send(sym, true);
        Send(sym, false);
    }
    void Type(const char* text) {
        for (const char* c = text; *c != '\0'; ++c) {
            std::string sym = *c == ' ' ? "space" : std::string(1, *c);
            Tap(sym.c_str());
            usleep(8000);
        }
    }
    // Ctrl held around the key, which is held for holdMs; the time of the key's press.
    int64_t Hotkey(const char* sym, int holdMs = 0) {
        Send("Control_L", true);
        usleep(5000);
        int64_t at = Send(sym, true);
        usleep(holdMs * 1000);
        Send(sym, false);
        usleep(2000 + holdMs * 250);
        Send("Control_L", false);
        return at;
    }
    // Keys the server still holds down, released; their names.
    std::string ReleaseHeld() {
        char keys[32];
        XQueryKeymap(d_, keys);
        std::string held;
        for (int code = 8; code < 256; ++code) {
            if ((keys[code / 8] & (1 << (code % 8))) == 0) continue;
            const char* name = XKeysymToString(XkbKeycodeToKeysym(d_, static_cast<KeyCode>(code), 0, 0));
            held += std::string(held.empty() ? "" : " ") + (name != nullptr ? name : "?");
            XTestFakeKeyEvent(d_, static_cast<unsigned>(code), False, CurrentTime);
        }
        XSync(d_, False);
        return held;
    }

private:
    Display* d_;
};

// Presses of typed keys as the text they spell (space for "space").
std::string Spelled(const std::vector<KeyEvent>& events, size_t from = 0) {
    std::string text;
    for (size_t i = from; i < events.size(); ++i) {
        if (!events[i].press) continue;
        const std::string& s = events[i].sym;
        if (s == "space") text += ' ';
        else if (s.size() == 1) text += s;
    }
    return text;
}

// Index of the n-th press (0-based) after `from` that is not a modifier, or -1.
int NthTyped(const std::vector<KeyEvent>& events, int n, size_t from = 0) {
    for (size_t i = from; i < events.size(); ++i) {
        if (!events[i].press || events[i].sym.find("Control") == 0 || events[i].sym.find("Shift") == 0) continue;
        if (n-- == 0) return static_cast<int>(i);
    }
    return -1;
}

long RssKb(pid_t pid) {
    std::string status = TailOf("/proc/" + std::to_string(pid) + "/status", 1 << 16);
    size_t at = status.find("VmRSS:");
    return at == std::string::npos ? 0 : atol(status.c_str() + at + 6);
}

struct Figures {
    std::vector<double> firstBackspace, wholePhrase, hotkeyFirst, longTotal;
    double readyMs = NAN;
    double mappedMs = NAN;  // launch until the main window mapped, for a program with one
    long rssReadyKb = 0, rssAfterKb = 0;
    int phraseFailures = 0, hotkeyFailures = 0, longFailures = 0;
    int realKeys = 0, sentKeys = 0, withCtrl = 0;
    int userKeysLost = 0, userKeysTyped = 0;
    int hotkeyPressLeaked = 0, hotkeyReleaseLeaked = 0, hotkeyTrials = 0;
    int rolloverTrials = 0, rolloverMangled = 0;
    int playedTrials = 0, playedExpanded = 0, playedLate = 0;
    std::string leftHeld;  // keys still down once the program had ended
};

struct Peer {
    std::string name;
    std::vector<std::string> argv;
    std::string folder;
    pid_t pid = -1;
    Figures figures;
};

void Count(Figures& f, const std::vector<KeyEvent>& events) {
    for (const KeyEvent& e : events) {
        if (!e.press) continue;
        (e.sent ? f.sentKeys : f.realKeys)++;
        if ((e.state & ControlMask) != 0 && e.sym.find("Control") != 0) f.withCtrl++;
    }
}

bool TypedAll(const std::vector<KeyEvent>& events, const std::string& text) {
    return Spelled(events).find(text) != std::string::npos;
}

void MeasurePhrase(Keyboard& keys, Probe& probe, Figures& f) {
    keys.Tap("Return");  // a word boundary for either program
    usleep(30000);
    keys.Tap("b");
    usleep(8000);
    keys.Tap("t");
    usleep(8000);
    keys.Send("w", true);
    int64_t released = keys.Send("w", false);
    std::vector<KeyEvent> got = probe.Until([](const std::vector<KeyEvent>& e) { return TypedAll(e, kPhrase); });
    // The user's own w precedes; the program's keys follow it.
    size_t from = 0;
    while (from < got.size() && !(got[from].press && got[from].sym == "w")) ++from;
    int backspace = -1;
    for (size_t i = from; i < got.size(); ++i) {
        if (got[i].press && got[i].sym == "BackSpace") {
            backspace = static_cast<int>(i);
            break;
        }
    }
    if (backspace < 0 || !TypedAll(got, kPhrase)) {
        f.phraseFailures++;
        probe.Settle();
        return;
    }
    int last = NthTyped(got, 3 + static_cast<int>(strlen(kPhrase)) - 1, static_cast<size_t>(backspace));
    f.firstBackspace.push_back((got[static_cast<size_t>(backspace)].ns - released) / 1e6);
    if (last >= 0) f.wholePhrase.push_back((got[static_cast<size_t>(last)].ns - released) / 1e6);
    std::vector<KeyEvent> typed(got.begin() + backspace, got.end());
    Count(f, typed);
    probe.Settle();
}

void MeasureHotkey(Keyboard& keys, Probe& probe, Figures& f) {
    // Held as a person holds it, so that the text comes while Ctrl and F7 are still down.
    int64_t pressed = keys.Hotkey("F7", 40);
    std::vector<KeyEvent> got = probe.Until([](const std::vector<KeyEvent>& e) { return TypedAll(e, kAddress); });
    probe.Settle();
    f.hotkeyTrials++;
    for (const KeyEvent& e : got) {
        if (e.sym != "F7") continue;
        (e.press ? f.hotkeyPressLeaked : f.hotkeyReleaseLeaked)++;
    }
    int first = -1;
    for (size_t i = 0; i < got.size(); ++i) {
        if (got[i].press && got[i].sym == "m") {
            first = static_cast<int>(i);
            break;
        }
    }
    if (first < 0 || !TypedAll(got, kAddress)) {
        f.hotkeyFailures++;
        return;
    }
    f.hotkeyFirst.push_back((got[static_cast<size_t>(first)].ns - pressed) / 1e6);
    // From the first typed key on: the user's Ctrl before it was a real key.
    Count(f, std::vector<KeyEvent>(got.begin() + first, got.end()));
}

void MeasureLong(Keyboard& keys, Probe& probe, Figures& f, const std::string& text) {
    int64_t pressed = keys.Hotkey("F8");
    // The user goes on typing while the text comes.
    usleep(3000);
    keys.Type("123");
    f.userKeysTyped += 3;
    std::vector<KeyEvent> got = probe.Until(
        [&](const std::vector<KeyEvent>& e) {
            std::string s = Spelled(e);
            return s.find('3') != std::string::npos && s.find('z') != std::string::npos;
        },
        10000);
    probe.Settle(300);
    std::string spelled = Spelled(got);
    for (char digit : {'1', '2', '3'})
        if (spelled.find(digit) == std::string::npos) f.userKeysLost++;
    // The text's last character is its only z.
    int64_t lastAt = 0;
    int letters = 0;
    for (const KeyEvent& e : got) {
        bool ofText = e.sym == "space" || (e.sym.size() == 1 && e.sym[0] >= 'a' && e.sym[0] <= 'z');
        if (!e.press || !ofText) continue;
        letters++;
        if (e.sym == "z") lastAt = e.ns;
    }
    std::string arrived;
    for (char c : spelled)
        if (c < '1' || c > '3') arrived += c;
    if (lastAt == 0 || letters < kLongLength || arrived.find(text) == std::string::npos) {
        if (f.longFailures++ == 0) fprintf(stderr, "bench_service_peers: the long text arrived as '%s'\n", spelled.c_str());
        return;
    }
    f.longTotal.push_back((lastAt - pressed) / 1e6);
}

void WriteFile(const std::string& path, const std::string& text) {
    FILE* f = fopen(path.c_str(), "wb");
    if (f == nullptr) return;
    fputs(text.c_str(), f);
    fclose(f);
}

// The text a client ends up with from the presses it got: BackSpace takes the last
// character back.
std::string Edited(const std::vector<KeyEvent>& events) {
    std::string text;
    for (const KeyEvent& e : events) {
        if (!e.press) continue;
        if (e.sym == "BackSpace") {
            if (!text.empty()) text.pop_back();
        } else if (e.sym == "space") {
            text += ' ';
        } else if (e.sym.size() == 1) {
            text += e.sym;
        }
    }
    return text;
}

// Key rollover, as fast typists type: the blank goes down before the w comes up, and the
// next word's first letter before the blank comes up. The client must end with the
// replacement and every key after it, in order.
void MeasureRollover(Keyboard& keys, Probe& probe, Figures& f) {
    keys.Tap("Return");
    probe.Settle(50);
    keys.Tap("b");
    usleep(8000);
    keys.Tap("t");
    usleep(8000);
    keys.Send("w", true);
    usleep(3000);
    keys.Send("space", true);
    usleep(3000);
    keys.Send("w", false);
    usleep(3000);
    keys.Send("o", true);
    usleep(3000);
    keys.Send("space", false);
    keys.Send("o", false);
    const std::string want = std::string(kPhrase) + " o";
    std::vector<KeyEvent> got = probe.Until([&](const std::vector<KeyEvent>& e) { return Edited(e) == want; }, 1000);
    probe.Settle(200);
    for (const KeyEvent& e : probe.Take()) got.push_back(e);
    f.rolloverTrials++;
    if (Edited(got) != want) {
        if (f.rolloverMangled++ == 0) fprintf(stderr, "bench_service_peers: rollover gave '%s'\n", Edited(got).c_str());
    }
}

// Another Kelmor (kelmorctl) plays the abbreviation into the client: the service must act
// on none of it, neither during the playback nor afterwards.
void MeasurePlayedByAnother(const std::string& kelmorctl, const std::string& folder, Probe& probe, Figures& f) {
    WriteFile(folder + "/played.klx", "TYPE one btw two{enter}\nWAIT 1\nTYPE three{enter}\n");
    probe.Settle(50);
    pid_t player = StartChild({kelmorctl, "play", folder + "/played.klx"}, folder + "/player", folder + "/player.log");
    int status = 0;
    rusage usage{};
    if (player > 0) wait4(player, &status, 0, &usage);
    const int64_t ended = MonotonicNs();
    std::vector<KeyEvent> got = probe.Until([](const std::vector<KeyEvent>&) { return false; }, 1500);
    f.playedTrials++;
    bool expanded = false, late = false;
    for (const KeyEvent& e : got) {
        if (e.press && e.sym == "BackSpace") expanded = true;
        if (e.ns > ended) late = true;
    }
    if (Edited(got).find("one btw twothree") == std::string::npos) expanded = true;
    f.playedExpanded += expanded ? 1 : 0;
    f.playedLate += late ? 1 : 0;
}

// Launch until Ctrl+F7 types: the hot key is pressed every 20 ms until "m" arrives. A
// program with a main window of the given class also has the time its window mapped, seen
// between the presses.
void Launch(Peer& peer, Keyboard& keys, Probe& probe, const char* windowClass) {
    probe.Settle(50);
    Display* watch = windowClass != nullptr ? XOpenDisplay(nullptr) : nullptr;
    // Without a window manager a top-level's MapNotify reaches whoever selects the root's
    // substructure.
    if (watch != nullptr) {
        XSelectInput(watch, DefaultRootWindow(watch), SubstructureNotifyMask);
        XSync(watch, True);
    }
    int64_t launched = MonotonicNs();
    peer.pid = StartChild(peer.argv, peer.folder, peer.folder + "/program.log");
    for (int64_t until = MonotonicMs() + 20000; MonotonicMs() < until;) {
        while (watch != nullptr && XPending(watch) > 0) {
            XEvent event;
            XNextEvent(watch, &event);
            if (event.type == MapNotify && std::isnan(peer.figures.mappedMs) &&
                IsMainWindow(watch, event.xmap.window, event.xmap.override_redirect, windowClass)) {
                peer.figures.mappedMs = (MonotonicNs() - launched) / 1e6;
            }
        }
        keys.Hotkey("F7");
        std::vector<KeyEvent> got = probe.Until(
            [](const std::vector<KeyEvent>& e) { return Spelled(e).find('m') != std::string::npos; }, 20);
        for (const KeyEvent& e : got) {
            if (e.press && e.sym == "m") {
                peer.figures.readyMs = (e.ns - launched) / 1e6;
                break;
            }
        }
        if (!std::isnan(peer.figures.readyMs)) break;
    }
    if (watch != nullptr) XCloseDisplay(watch);
    probe.Settle(500);
    peer.figures.rssReadyKb = RssKb(peer.pid);
}

// The settings store file with the three triggers.
void PrepareKelmor(const std::string& folder, const std::string& text) {
    std::ostringstream ini;
    ini << "[SOFTWARE\\Kelmor]\nKeyboardService=dword:00000001\n";
    ini << "[SOFTWARE\\Kelmor\\Mappings\\118]\nAction=dword:00000005\nControl=dword:00000001\nShift=dword:00000000\n"
           "Alt=dword:00000000\nText=sz:"
        << kAddress << "\n";
    ini << "[SOFTWARE\\Kelmor\\Mappings\\119]\nAction=dword:00000005\nControl=dword:00000001\nShift=dword:00000000\n"
           "Alt=dword:00000000\nText=sz:"
        << text << "\n";
    ini << "[SOFTWARE\\Kelmor\\ShortType\\btw]\nText=sz:" << kPhrase << "\n";
    WriteFile(folder + "/registry.ini", ini.str());
}

std::string AutokeyPhrase(const std::string& folder, const char* name, const std::string& text, const char* mode,
                          const std::string& abbreviation, const std::string& hotkey) {
    WriteFile(folder + "/" + name + ".txt", text);
    std::ostringstream json;
    json << "{\"type\": \"phrase\", \"description\": \"" << name << "\", \"modes\": [" << mode
         << "], \"usageCount\": 0, \"prompt\": false, \"omitTrigger\": false, \"matchCase\": false, "
            "\"showInTrayMenu\": false, \"abbreviation\": {\"abbreviations\": ["
         << abbreviation
         << "], \"backspace\": true, \"ignoreCase\": false, \"immediate\": true, \"triggerInside\": false, "
            "\"wordChars\": \"[\\\\w]\"}, \"hotkey\": {\"modifiers\": "
         << (hotkey.empty() ? "[]" : "[\"<ctrl>\"]") << ", \"hotKey\": " << (hotkey.empty() ? "null" : "\"" + hotkey + "\"")
         << "}, \"filter\": {\"regex\": null, \"isRecursive\": false}, \"sendMode\": \"kb\"}\n";
    WriteFile(folder + "/." + name + ".json", json.str());
    return name;
}

// AutoKey's own configuration in the peer's folder: its global file (no first-run samples)
// and one folder of phrases. btw is immediate, so it fires on the w as Kelmor does.
void PrepareAutokey(const std::string& folder, const std::string& text) {
    std::string config = folder + "/config";
    mkdir(config.c_str(), 0700);
    mkdir((config + "/autokey").c_str(), 0700);
    mkdir((config + "/autokey/data").c_str(), 0700);
    std::string phrases = config + "/autokey/data/Bench";
    mkdir(phrases.c_str(), 0700);
    WriteFile(config + "/autokey/autokey.json",
              "{\"version\": \"0.95.10\", \"userCodeDir\": null, \"settings\": {\"isFirstRun\": false, "
              "\"serviceRunning\": true, \"showTrayIcon\": false, \"interfaceType\": \"XRecord\", "
              "\"undoUsingBackspace\": true}, \"folders\": [], "
              "\"toggleServiceHotkey\": {\"enabled\": false, \"modifiers\": [], \"hotKey\": null}, "
              "\"configHotkey\": {\"enabled\": false, \"modifiers\": [], \"hotKey\": null}}\n");
    AutokeyPhrase(phrases, "btw", kPhrase, "1", "\"btw\"", "");
    AutokeyPhrase(phrases, "address", kAddress, "3", "", "<f7>");
    AutokeyPhrase(phrases, "long", text, "3", "", "<f8>");
}

std::string Ms(const std::vector<double>& values) {
    if (values.empty()) return "-";
    char text[64];
    snprintf(text, sizeof text, "%.2f (p90 %.2f)", Percentile(values, 0.5), Percentile(values, 0.9));
    return text;
}

void Row(const char* what, const std::vector<Peer>& peers, std::string (*cell)(const Figures&)) {
    printf("| %-52s |", what);
    for (const Peer& p : peers) printf(" %-22s |", cell(p.figures).c_str());
    printf("\n");
}

std::string Format(const char* format, double a, double b = 0) {
    char text[64];
    snprintf(text, sizeof text, format, a, b);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    std::string probePath, kelmorPath, warmUpPath, kelmorctlPath;
    bool autokey = false;
    int runs = 50;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--probe") == 0 && i + 1 < argc) probePath = argv[++i];
        else if (strcmp(argv[i], "--kelmor") == 0 && i + 1 < argc) kelmorPath = argv[++i];
        else if (strcmp(argv[i], "--autokey") == 0) autokey = true;
        else if (strcmp(argv[i], "--runs") == 0 && i + 1 < argc) runs = atoi(argv[++i]);
        else if (strcmp(argv[i], "--warm-up") == 0 && i + 1 < argc) warmUpPath = argv[++i];
        else if (strcmp(argv[i], "--kelmorctl") == 0 && i + 1 < argc) kelmorctlPath = argv[++i];
        else {
            fprintf(stderr, "usage: bench_service_peers --probe PATH [--kelmor PATH] [--autokey] [--runs N] "
                            "[--warm-up PATH] [--kelmorctl PATH]\n");
            return 2;
        }
    }
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr || probePath.empty()) {
        fprintf(stderr, "bench_service_peers: %s\n", d == nullptr ? "cannot open the X display" : "no --probe");
        return 2;
    }
    Keyboard keys(d);
    const std::string text = LongText();
    char pattern[] = "/tmp/kelmor-service-bench.XXXXXX";
    std::string work = mkdtemp(pattern);

    if (!warmUpPath.empty()) {
        mkdir((work + "/warm-up").c_str(), 0700);
        pid_t warmUp = StartChild({warmUpPath}, work + "/warm-up", work + "/warm-up/program.log");
        usleep(1500000);
        int exitStatus = 0;
        rusage usage{};
        if (warmUp > 0) EndChild(warmUp, exitStatus, usage);
    }
    std::vector<Peer> peers;
    if (!kelmorPath.empty()) peers.push_back({"Kelmor", {kelmorPath}, work + "/kelmor", -1, {}});
    if (autokey) peers.push_back({"AutoKey", {"autokey-gtk"}, work + "/autokey", -1, {}});
    int status = 0;
    for (Peer& peer : peers) {
        mkdir(peer.folder.c_str(), 0700);
        if (peer.name == "Kelmor") PrepareKelmor(peer.folder, text);
        else PrepareAutokey(peer.folder, text);
        Probe probe;
        if (!probe.Start(probePath, peer.folder)) {
            fprintf(stderr, "bench_service_peers: the probe did not start\n");
            return 2;
        }
        Launch(peer, keys, probe, peer.name == "Kelmor" ? "Kelmor" : nullptr);
        Figures& f = peer.figures;
        if (std::isnan(f.readyMs)) {
            fprintf(stderr, "bench_service_peers: %s never typed on Ctrl+F7 (log: %s)\n%s\n", peer.name.c_str(),
                    (peer.folder + "/program.log").c_str(), TailOf(peer.folder + "/program.log", 2000).c_str());
            status = 1;
        } else {
            for (int i = 0; i < runs; ++i) MeasurePhrase(keys, probe, f);
            for (int i = 0; i < runs; ++i) MeasureHotkey(keys, probe, f);
            for (int i = 0; i < std::max(3, runs / 10); ++i) MeasureLong(keys, probe, f, text);
            for (int i = 0; i < runs; ++i) MeasureRollover(keys, probe, f);
            if (!kelmorctlPath.empty()) {
                mkdir((peer.folder + "/player").c_str(), 0700);
                for (int i = 0; i < std::max(3, runs / 10); ++i) MeasurePlayedByAnother(kelmorctlPath, peer.folder, probe, f);
            }
            f.rssAfterKb = RssKb(peer.pid);
        }
        int exitStatus = 0;
        rusage usage{};
        EndChild(peer.pid, exitStatus, usage);
        probe.Stop();
        f.leftHeld = keys.ReleaseHeld();
    }

    printf("\nKeyboard service beside its peer, %d runs each, same Xvfb, same receiving client (times in ms)\n\n", runs);
    printf("| %-52s |", "");
    for (const Peer& p : peers) printf(" %-22s |", p.name.c_str());
    printf("\n|%s|", std::string(54, '-').c_str());
    for (size_t i = 0; i < peers.size(); ++i) printf("%s|", std::string(24, '-').c_str());
    printf("\n");
    Row("btw: release of w -> first BackSpace, median (p90)", peers, [](const Figures& f) { return Ms(f.firstBackspace); });
    Row("btw: release of w -> last key of \"by the way\"", peers, [](const Figures& f) { return Ms(f.wholePhrase); });
    Row("btw: trials without the full replacement", peers,
        [](const Figures& f) { return Format("%.0f", f.phraseFailures); });
    Row("Ctrl+F7: press of F7 -> first typed key", peers, [](const Figures& f) { return Ms(f.hotkeyFirst); });
    Row("Ctrl+F7: trials without the full text", peers,
        [](const Figures& f) { return Format("%.0f", f.hotkeyFailures); });
    Row("Ctrl+F7: F7 presses / releases reaching the client", peers, [](const Figures& f) {
        return Format("%.0f / %.0f", f.hotkeyPressLeaked, f.hotkeyReleaseLeaked) + " of " +
               std::to_string(f.hotkeyTrials);
    });
    Row("Ctrl+F8: 255 characters, press of F8 -> last key", peers, [](const Figures& f) { return Ms(f.longTotal); });
    Row("Ctrl+F8: trials with characters missing", peers,
        [](const Figures& f) { return Format("%.0f", f.longFailures); });
    Row("user's keys lost while the 255 characters came", peers,
        [](const Figures& f) { return Format("%.0f of %.0f", f.userKeysLost, f.userKeysTyped); });
    Row("rollover (w up after the blank is down): mangled", peers,
        [](const Figures& f) { return Format("%.0f of %.0f", f.rolloverMangled, f.rolloverTrials); });
    Row("btw played by kelmorctl: expanded / typed late", peers, [](const Figures& f) {
        return f.playedTrials == 0 ? std::string("-")
                                   : Format("%.0f / %.0f", f.playedExpanded, f.playedLate) + " of " +
                                         std::to_string(f.playedTrials);
    });
    Row("typed keys: real (server input) / XSendEvent", peers,
        [](const Figures& f) { return Format("%.0f / %.0f", f.realKeys, f.sentKeys); });
    Row("typed keys the client read with Ctrl held", peers,
        [](const Figures& f) { return Format("%.0f", f.withCtrl); });
    Row("ready: launch -> Ctrl+F7 types", peers, [](const Figures& f) { return Format("%.0f", f.readyMs); });
    Row("ready: window mapped -> Ctrl+F7 types (20 ms steps)", peers, [](const Figures& f) {
        return std::isnan(f.mappedMs) ? std::string("-") : Format("%.0f", f.readyMs - f.mappedMs);
    });
    Row("resident memory when ready / after the runs (MiB)", peers,
        [](const Figures& f) { return Format("%.1f / %.1f", f.rssReadyKb / 1024.0, f.rssAfterKb / 1024.0); });
    Row("keys left held down after the program ended", peers,
        [](const Figures& f) { return f.leftHeld.empty() ? std::string("none") : f.leftHeld; });
    XCloseDisplay(d);
    RemoveTree(work);
    return status;
}
