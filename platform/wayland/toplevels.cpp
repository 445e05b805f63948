#include "platform/wayland/toplevels.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/wayland/connection.h"

namespace {

const int kMaxWindows = 256;
const int kTitleSize = 256;
// How long an activation is waited for: the next typed key must reach the window.
const long kActivationWaitMs = 200;

struct Toplevel {
    zwlr_foreign_toplevel_handle_v1* handle;
    uint32_t id;
    char title[kTitleSize];
    bool minimized, activated, closed;
};
Toplevel gWindows[kMaxWindows];
int gCount = 0;
uint32_t gNextId = 1;

Toplevel* Find(uint32_t id) {
    for (int i = 0; i < gCount; ++i) {
        if (gWindows[i].id == id && !gWindows[i].closed) return &gWindows[i];
    }
    return nullptr;
}

void OnTitle(void* data, zwlr_foreign_toplevel_handle_v1*, const char* title) {
    snprintf(static_cast<Toplevel*>(data)->title, kTitleSize, "%s", title);
}
void OnAppId(void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}
void OnOutputEnter(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
void OnOutputLeave(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
void OnState(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
    Toplevel* window = static_cast<Toplevel*>(data);
    window->minimized = window->activated = false;
    const uint32_t* state = static_cast<const uint32_t*>(states->data);
    for (size_t i = 0; i < states->size / sizeof(uint32_t); ++i) {
        if (state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MINIMIZED) window->minimized = true;
        if (state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED) window->activated = true;
    }
}
void OnDone(void*, zwlr_foreign_toplevel_handle_v1*) {}
void OnClosed(void* data, zwlr_foreign_toplevel_handle_v1* handle) {
    static_cast<Toplevel*>(data)->closed = true;
    zwlr_foreign_toplevel_handle_v1_destroy(handle);
}
void OnParent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}
const zwlr_foreign_toplevel_handle_v1_listener kHandle = {OnTitle, OnAppId, OnOutputEnter, OnOutputLeave,
                                                          OnState, OnDone,  OnClosed,      OnParent};

void OnToplevel(void*, zwlr_foreign_toplevel_manager_v1*, zwlr_foreign_toplevel_handle_v1* handle) {
    // A closed window's place is taken again (its handle is gone, so no event names it
    // any more): a long session does not run out of places.
    Toplevel* window = nullptr;
    for (int i = 0; i < gCount && window == nullptr; ++i) {
        if (gWindows[i].closed) window = &gWindows[i];
    }
    if (window == nullptr && gCount < kMaxWindows) window = &gWindows[gCount++];
    if (window == nullptr) {
        zwlr_foreign_toplevel_handle_v1_destroy(handle);  // no room: the window is not followed
        return;
    }
    memset(window, 0, sizeof *window);
    window->handle = handle;
    window->id = gNextId++;
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &kHandle, window);
}
void OnFinished(void*, zwlr_foreign_toplevel_manager_v1*) {}
const zwlr_foreign_toplevel_manager_v1_listener kManager = {OnToplevel, OnFinished};

// Brings the compositor's news up to date.
void Refresh() { wl_display_roundtrip(Wayland()->display); }

long NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000 + now.tv_nsec / 1000000;
}

}  // namespace

bool WaylandToplevelsOpen() {
    WaylandGlobals* wayland = Wayland();
    if (wayland->toplevelsName == 0) return false;
    wayland->toplevels = static_cast<zwlr_foreign_toplevel_manager_v1*>(wl_registry_bind(
        wayland->registry, wayland->toplevelsName, &zwlr_foreign_toplevel_manager_v1_interface, wayland->toplevelsVersion));
    zwlr_foreign_toplevel_manager_v1_add_listener(wayland->toplevels, &kManager, nullptr);
    Refresh();
    return true;
}

int WaylandEnumWindows(uint32_t* out, int max) {
    if (Wayland()->toplevels == nullptr) return 0;
    Refresh();
    // In the order they were announced: by handle, as places are taken again.
    int stored = 0;
    for (int i = 0; i < gCount; ++i) {
        if (gWindows[i].closed) continue;
        int at = stored < max ? stored++ : max;
        while (at > 0 && out[at - 1] > gWindows[i].id) {
            if (at < max) out[at] = out[at - 1];
            --at;
        }
        if (at < max) out[at] = gWindows[i].id;
    }
    return stored;
}

int WaylandWindowTitle(uint32_t window, char* out, int size) {
    const Toplevel* found = Find(window);
    if (out == nullptr || size <= 0) return 0;
    snprintf(out, static_cast<size_t>(size), "%s", found != nullptr ? found->title : "");
    return static_cast<int>(strlen(out));
}

bool WaylandWindowMinimized(uint32_t window) {
    const Toplevel* found = Find(window);
    return found != nullptr && found->minimized;
}

bool WaylandRestoreWindow(uint32_t window) {
    const Toplevel* found = Find(window);
    if (found == nullptr) return false;
    if (found->minimized) zwlr_foreign_toplevel_handle_v1_unset_minimized(found->handle);
    return true;
}

bool WaylandActivateWindow(uint32_t window) {
    const Toplevel* found = Find(window);
    if (found == nullptr) return false;
    zwlr_foreign_toplevel_handle_v1_activate(found->handle, Wayland()->seat);
    const long until = NowMs() + kActivationWaitMs;
    for (;;) {
        Refresh();
        found = Find(window);
        if (found == nullptr || found->activated) return found != nullptr;
        if (NowMs() >= until) return false;
        const timespec pause = {0, 10 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
}

uint32_t WaylandForegroundWindow() {
    Refresh();
    for (int i = 0; i < gCount; ++i) {
        if (!gWindows[i].closed && gWindows[i].activated) return gWindows[i].id;
    }
    return 0;
}
