#include "platform/wayland/connection.h"

#include <glib-unix.h>
#include <glib.h>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

WaylandGlobals gGlobals;

// Each output's place in the layout and its current size, until the union is taken.
const int kMaxOutputs = 16;
struct OutputPlace {
    wl_output* output;
    int32_t x, y, width, height;
};
OutputPlace gOutputs[kMaxOutputs];
int gOutputCount = 0;

void OnGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*, const char*,
                int32_t) {
    OutputPlace* place = static_cast<OutputPlace*>(data);
    place->x = x;
    place->y = y;
}
void OnMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
    if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
    OutputPlace* place = static_cast<OutputPlace*>(data);
    place->width = width;
    place->height = height;
}
void OnOutputDone(void*, wl_output*) {}
void OnScale(void*, wl_output*, int32_t) {}
// Bound at version 2: the name and description events never come.
const wl_output_listener kOutputListener = {OnGeometry, OnMode, OnOutputDone, OnScale, nullptr, nullptr};

void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    auto bind = [&](const wl_interface* wanted, uint32_t most) {
        return wl_registry_bind(registry, name, wanted, version < most ? version : most);
    };
    if (strcmp(interface, wl_seat_interface.name) == 0 && gGlobals.seat == nullptr) {
        gGlobals.seat = static_cast<wl_seat*>(bind(&wl_seat_interface, 1));
    } else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        gGlobals.keyboards = static_cast<zwp_virtual_keyboard_manager_v1*>(
            bind(&zwp_virtual_keyboard_manager_v1_interface, 1));
    } else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        gGlobals.pointers = static_cast<zwlr_virtual_pointer_manager_v1*>(
            bind(&zwlr_virtual_pointer_manager_v1_interface, 1));
    } else if (strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0) {
        gGlobals.toplevelsName = name;
        gGlobals.toplevelsVersion = version < 3 ? version : 3;
    } else if (strcmp(interface, wl_output_interface.name) == 0 && gOutputCount < kMaxOutputs) {
        OutputPlace* place = &gOutputs[gOutputCount++];
        place->output = static_cast<wl_output*>(bind(&wl_output_interface, 2));
        wl_output_add_listener(place->output, &kOutputListener, place);
    }
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

// The events that made the descriptor readable may have been read meanwhile by a round
// trip of the playback; wl_display_dispatch would then wait for the next one, holding
// the loop. Reading without waiting keeps it moving.
bool ReadWithoutWaiting() {
    wl_display* display = gGlobals.display;
    while (wl_display_prepare_read(display) != 0) {
        if (wl_display_dispatch_pending(display) < 0) return false;
    }
    if (wl_display_read_events(display) < 0) return false;
    return wl_display_dispatch_pending(display) >= 0;
}

gboolean OnReadable(gint, GIOCondition condition, gpointer) {
    if ((condition & (G_IO_HUP | G_IO_ERR)) != 0 || !ReadWithoutWaiting()) {
        fprintf(stderr, "%s: the Wayland compositor went away\n", g_get_prgname());
        return G_SOURCE_REMOVE;
    }
    return G_SOURCE_CONTINUE;
}

}  // namespace

bool WaylandConnect(char* why, int whySize) {
    gGlobals.display = wl_display_connect(nullptr);
    if (gGlobals.display == nullptr) {
        snprintf(why, static_cast<size_t>(whySize), "cannot connect to the Wayland display \"%s\"",
                 g_getenv("WAYLAND_DISPLAY") ? g_getenv("WAYLAND_DISPLAY") : "");
        return false;
    }
    wl_registry* registry = gGlobals.registry = wl_display_get_registry(gGlobals.display);
    wl_registry_add_listener(registry, &kRegistryListener, nullptr);
    // The globals, then the outputs' details.
    wl_display_roundtrip(gGlobals.display);
    wl_display_roundtrip(gGlobals.display);
    for (int i = 0; i < gOutputCount; ++i) {
        const OutputPlace& place = gOutputs[i];
        if (place.x + place.width > gGlobals.width) gGlobals.width = place.x + place.width;
        if (place.y + place.height > gGlobals.height) gGlobals.height = place.y + place.height;
    }
    if (gGlobals.keyboards == nullptr || gGlobals.pointers == nullptr || gGlobals.seat == nullptr) {
        snprintf(why, static_cast<size_t>(whySize),
                 "the compositor offers no %s%s%s; the wlroots compositors (sway, Hyprland, river, labwc, Wayfire) "
                 "have them, GNOME's and KDE's do not",
                 gGlobals.keyboards == nullptr ? "zwp_virtual_keyboard_manager_v1" : "",
                 gGlobals.keyboards == nullptr && gGlobals.pointers == nullptr ? " and " : "",
                 gGlobals.pointers == nullptr ? "zwlr_virtual_pointer_manager_v1" : "");
        if (gGlobals.keyboards != nullptr && gGlobals.pointers != nullptr) {
            snprintf(why, static_cast<size_t>(whySize), "the compositor offers no seat");
        }
        return false;
    }
    g_unix_fd_add(wl_display_get_fd(gGlobals.display), static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
                  OnReadable, nullptr);
    return true;
}

WaylandGlobals* Wayland() { return &gGlobals; }

uint32_t WaylandTime() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}
