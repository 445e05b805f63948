#include "platform/wayland/choice.h"

#include <glib.h>

#include <cstdio>
#include <cstring>

#include "platform/module.h"

#ifndef KELMOR_WAYLAND_MODULE
#define KELMOR_WAYLAND_MODULE "libkelmor-wayland.so"
#endif

namespace {

bool Set(const char* value) { return value != nullptr && value[0] != '\0'; }

const KelmorWayland* gWayland = nullptr;
char gWhy[256] = "";

// Loads the module and connects; the reason it cannot goes to gWhy.
bool CompositorPlays() {
    void* entry = ModuleLoadEntry(KELMOR_WAYLAND_MODULE, KELMOR_WAYLAND_ENTRY, gWhy, sizeof gWhy);
    const KelmorWayland* wayland = entry ? reinterpret_cast<KelmorWaylandEntryFunction>(entry)() : nullptr;
    if (wayland == nullptr || wayland->version != KELMOR_WAYLAND_VERSION || wayland->size < sizeof(KelmorWayland)) {
        if (entry != nullptr) snprintf(gWhy, sizeof gWhy, "%s is of another version", KELMOR_WAYLAND_MODULE);
        return false;
    }
    if (!wayland->open(gWhy, sizeof gWhy)) return false;
    gWayland = wayland;
    return true;
}

}  // namespace

PlaybackBackend ChoosePlaybackBackend(const char* waylandDisplay, const char* display, const char* override,
                                      bool (*compositorPlays)()) {
    if (Set(override) && strcmp(override, "x11") == 0) return PlaybackBackend::X11;
    const bool forced = Set(override) && strcmp(override, "wayland") == 0;
    if (!forced && !Set(waylandDisplay)) return PlaybackBackend::X11;
    if (compositorPlays()) return PlaybackBackend::Wayland;
    return !forced && Set(display) ? PlaybackBackend::X11 : PlaybackBackend::Refused;
}

const KelmorWayland* WaylandPlayback(bool* refused) {
    static int chosen = -1;
    if (chosen < 0) {
        const char* waylandDisplay = g_getenv("WAYLAND_DISPLAY");
        chosen = static_cast<int>(ChoosePlaybackBackend(waylandDisplay, g_getenv("DISPLAY"),
                                                        g_getenv("KELMOR_BACKEND"), CompositorPlays));
        if (chosen == static_cast<int>(PlaybackBackend::Refused)) {
            fprintf(stderr, "%s: cannot play through Wayland: %s\n", g_get_prgname(), gWhy);
        } else if (chosen == static_cast<int>(PlaybackBackend::X11) && Set(waylandDisplay) && gWhy[0] != '\0') {
            fprintf(stderr, "%s: playing through X11 (%s): only Xwayland programs receive the input\n",
                    g_get_prgname(), gWhy);
        }
    }
    if (refused != nullptr) *refused = chosen == static_cast<int>(PlaybackBackend::Refused);
    return chosen == static_cast<int>(PlaybackBackend::Wayland) ? gWayland : nullptr;
}

bool WaylandRefusesReading(const char* what) {
    if (!Set(g_getenv("WAYLAND_DISPLAY"))) return false;
    const bool x11 = Set(g_getenv("DISPLAY"));
    // Once for each of them: the refusal of a recording is news after the service's.
    static const char* told[4] = {};
    int slot = 0;
    while (slot < 4 && told[slot] != nullptr && strcmp(told[slot], what) != 0) ++slot;
    if (slot < 4 && told[slot] == nullptr) {
        told[slot] = what;
        fprintf(stderr,
                x11 ? "%s: in a Wayland session %s sees only the programs running under Xwayland\n"
                    : "%s: %s needs to read the keys typed into every program, which Wayland shows no ordinary "
                      "program; use an X11 session, or set DISPLAY to reach Xwayland programs only\n",
                g_get_prgname(), what);
    }
    return !x11;
}
