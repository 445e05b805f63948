// The message loop of a program without a main window: kelmorctl, and kelmor playing
// hidden.
#include "platform/loop.h"

#include <glib-unix.h>
#include <glib.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "platform/headless/headless_shell.h"

namespace {

void (*gDispatch)(int) = nullptr;
GMainLoop* gLoop = nullptr;
int gExitCode = 0;
bool gQuitRequested = false;
void (*gEndSession)() = nullptr;
bool gSignalsWatched = false;

gboolean RunPosted(gpointer data) {
    int id = GPOINTER_TO_INT(data);
    if (gDispatch != nullptr) {
        gDispatch(id);
    } else {
        fprintf(stderr, "%s: command %d was posted but nothing can run it\n", g_get_prgname(), id);
    }
    return G_SOURCE_REMOVE;
}

// A playback killed by a signal's default action would leave its keys down on the
// server, which then types them for ever. GLib turns the signal into a source of the
// loop, so the program's handler runs on its one thread with nothing half done.
gboolean OnEndSignal(gpointer data) {
    const int signal = GPOINTER_TO_INT(data);
    if (gEndSession != nullptr) gEndSession();
    // Straight out, also from inside a message box's own loop. The X back end's exit
    // handlers release what is still held, drop the grabs and wait for the server.
    exit(128 + signal);
    return G_SOURCE_REMOVE;
}

}  // namespace

void HeadlessShellSetDispatcher(void (*dispatch)(int id)) { gDispatch = dispatch; }

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
    gEndSession = onEndSession;
    if (gSignalsWatched) return;
    gSignalsWatched = true;
    const int signals[] = {SIGINT, SIGTERM, SIGHUP};
    for (int signal : signals) g_unix_signal_add(signal, OnEndSignal, GINT_TO_POINTER(signal));
}
