// The message loop of a program without a main window: kelmorctl, and kelmor playing
// hidden.
#include "platform/loop.h"

#include <glib-unix.h>
#include <glib.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "platform/headless/headless_shell.h"
#include "platform/message_box.h"

namespace {

GMainLoop* gLoop = nullptr;
int gExitCode = 0;
bool gQuitRequested = false;
bool gSignalsWatched = false;

// The program's timers: SERVICE_TIMER, and room for a few more.
struct Timer {
    int id;
    guint source;  // 0 for a free slot
    void (*onTick)(int id);
};
const int kMaxTimers = 8;
Timer gTimers[kMaxTimers];

gboolean OnTimer(gpointer data) {
    const Timer* timer = static_cast<const Timer*>(data);
    timer->onTick(timer->id);
    return G_SOURCE_CONTINUE;
}

Timer* FindTimer(int id) {
    for (Timer& timer : gTimers) {
        if (timer.source != 0 && timer.id == id) return &timer;
    }
    return nullptr;
}

gboolean RunPosted(gpointer data) {
    HeadlessRunPostedCommand(g_get_prgname(), GPOINTER_TO_INT(data));
    return G_SOURCE_REMOVE;
}

// A playback killed by a signal's default action would leave its keys down on the
// server, which then types them for ever. GLib turns the signal into a source of the
// loop, so the program's handler runs on its one thread with nothing half done.
gboolean OnEndSignal(gpointer data) {
    const int signal = GPOINTER_TO_INT(data);
    HeadlessEndSession();
    // Straight out, also from inside a message box's own loop. The X back end's exit
    // handlers release what is still held, drop the grabs and wait for the server.
    exit(128 + signal);
    return G_SOURCE_REMOVE;
}

struct PostedBox {
    gchar* text;
    gchar* caption;
    uint32_t style;
};

gboolean ShowPostedBox(gpointer data) {
    PostedBox* box = static_cast<PostedBox*>(data);
    ShellMessageBox(box->text, box->caption, box->style);
    g_free(box->text);
    g_free(box->caption);
    g_free(box);
    return G_SOURCE_REMOVE;
}

}  // namespace

void HeadlessSetProgramName(const char* name) { g_set_prgname(name); }

void ShellPostMessageBox(const char* text, const char* caption, uint32_t style) {
    PostedBox* box = g_new(PostedBox, 1);
    box->text = g_strdup(text != nullptr ? text : "");
    box->caption = g_strdup(caption != nullptr ? caption : "");
    box->style = style;
    g_idle_add(ShowPostedBox, box);
}

int HeadlessRunMessageLoop() {
    // A quit asked for before the loop ran (a start-up that ended early) still counts.
    if (gQuitRequested) return gExitCode;
    gLoop = g_main_loop_new(nullptr, FALSE);
    g_main_loop_run(gLoop);
    g_main_loop_unref(gLoop);
    gLoop = nullptr;
    return gExitCode;
}

void ShellQuitMessageLoop(int exitCode) {
    gExitCode = exitCode;
    gQuitRequested = true;
    if (gLoop != nullptr) g_main_loop_quit(gLoop);
}

void ShellPostCommand(int id) { g_idle_add(RunPosted, GINT_TO_POINTER(id)); }

void ShellSetEndSessionHandler(void (*onEndSession)()) {
    HeadlessKeepEndSessionHandler(onEndSession);
    if (gSignalsWatched) return;
    gSignalsWatched = true;
    const int signals[] = {SIGINT, SIGTERM, SIGHUP};
    for (int signal : signals) g_unix_signal_add(signal, OnEndSignal, GINT_TO_POINTER(signal));
}

void ShellSetTimer(int id, unsigned periodMs, void (*onTick)(int id)) {
    if (onTick == nullptr) return;
    ShellKillTimer(id);
    for (Timer& timer : gTimers) {
        if (timer.source != 0) continue;
        timer.id = id;
        timer.onTick = onTick;
        timer.source = g_timeout_add(periodMs, OnTimer, &timer);
        return;
    }
    fprintf(stderr, "%s: timer %d not started: %d timers run already\n", g_get_prgname(), id, kMaxTimers);
}

void ShellKillTimer(int id) {
    if (Timer* timer = FindTimer(id)) {
        g_source_remove(timer->source);
        timer->source = 0;
    }
}
