// The module's connection to the compositor and the globals playback binds, watched by
// the GLib main loop so that the compositor's events are read between the loop's other
// work, on its one thread.
#pragma once
#include <wayland-client.h>

#include <cstdint>

#include "platform/wayland/protocols/virtual-keyboard-unstable-v1-client-protocol.h"
#include "platform/wayland/protocols/wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"
#include "platform/wayland/protocols/wlr-virtual-pointer-unstable-v1-client-protocol.h"

struct WaylandGlobals {
    wl_display* display;
    wl_seat* seat;
    zwp_virtual_keyboard_manager_v1* keyboards;
    zwlr_virtual_pointer_manager_v1* pointers;
    // The foreign-toplevel manager is bound by its user (toplevels.cpp), which must listen
    // from the start: the windows are announced straight after the bind.
    wl_registry* registry;
    uint32_t toplevelsName, toplevelsVersion;
    zwlr_foreign_toplevel_manager_v1* toplevels;
    // The layout's extent: the outputs' union, in the compositor's pixels.
    int32_t width, height;
};

// Connects and binds; false with the reason in why when the display cannot be reached or
// lacks a protocol playback needs.
bool WaylandConnect(char* why, int whySize);
WaylandGlobals* Wayland();
// The time requests carry: milliseconds of the monotonic clock.
uint32_t WaylandTime();
