// A Wayland window for the end-to-end tests: it logs, with its own clock, the characters
// its keyboard focus receives (through the keymap the compositor hands it) and the
// pointer's buttons and wheel, one line each:
//   <ms> key <keysym> <0|1> <event time>   <ms> char <text>   <ms> button <code> <0|1> <x> <y>
//   <ms> wheel <axis> <discrete>   <ms> focus
// Usage: wayland_receiver TITLE LOGFILE [STALL_MS]
// With STALL_MS the window stops reading for that long after every 500th character, as a
// busy program does now and then.
// A headless compositor has no keyboard and no mouse, and its seat offers neither until a
// device comes: the window stands in for the machine's own with a virtual keyboard and
// pointer that never send anything, so that it has both before the program under test
// starts, as on a desktop.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/wayland/protocols/virtual-keyboard-unstable-v1-client-protocol.h"
#include "platform/wayland/protocols/wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "tests/e2e/xdg-shell-client-protocol.h"

namespace {

FILE* gLog = nullptr;
wl_compositor* gCompositor = nullptr;
wl_shm* gShm = nullptr;
wl_seat* gSeat = nullptr;
xdg_wm_base* gWmBase = nullptr;
zwp_virtual_keyboard_manager_v1* gKeyboards = nullptr;
zwlr_virtual_pointer_manager_v1* gPointers = nullptr;
wl_surface* gSurface = nullptr;
xkb_context* gXkb = nullptr;
xkb_keymap* gKeymap = nullptr;
xkb_state* gState = nullptr;
double gX = 0, gY = 0;
long gStallMs = 0;
long gCharacters = 0;
bool gConfigured = false;

double Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

void Log(const char* format, const char* text) {
    fprintf(gLog, "%.3f ", Now());
    fprintf(gLog, format, text);
    fputc('\n', gLog);
    fflush(gLog);
}

// --- keyboard -----------------------------------------------------------------------

void OnKeymap(void*, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
    if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) return close(fd), void();
    char* text = static_cast<char*>(mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0));
    close(fd);
    if (text == MAP_FAILED) return;
    xkb_keymap* keymap = xkb_keymap_new_from_string(gXkb, text, XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    if (keymap == nullptr) return;
    xkb_state_unref(gState);
    xkb_keymap_unref(gKeymap);
    gKeymap = keymap;
    gState = xkb_state_new(keymap);
}
void OnEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) { Log("focus%s", ""); }
void OnLeave(void*, wl_keyboard*, uint32_t, wl_surface*) { Log("unfocus%s", ""); }
void OnKey(void*, wl_keyboard*, uint32_t, uint32_t time, uint32_t key, uint32_t state) {
    if (gState == nullptr) return;
    char text[64];
    // The key by its first level's symbol: the same name down and up, whatever the modifiers.
    const xkb_keysym_t* symbols = nullptr;
    const int count = xkb_keymap_key_get_syms_by_level(gKeymap, key + 8, 0, 0, &symbols);
    xkb_keysym_get_name(count > 0 ? symbols[0] : XKB_KEY_NoSymbol, text, 32);
    // The event's own time stamp after the state: the sender's, passed on by the compositor.
    const size_t length = strlen(text);
    snprintf(text + length, sizeof text - length, " %u %u", state == WL_KEYBOARD_KEY_STATE_PRESSED ? 1u : 0u, time);
    Log("key %s", text);
    if (state != WL_KEYBOARD_KEY_STATE_PRESSED) return;
    if (xkb_state_key_get_utf8(gState, key + 8, text, sizeof text) > 0) {
        Log("char %s", text);
        if (gStallMs > 0 && ++gCharacters % 500 == 0) {
            const timespec stall = {gStallMs / 1000, (gStallMs % 1000) * 1000000};
            nanosleep(&stall, nullptr);
        }
    }
}
void OnModifiers(void*, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked,
                 uint32_t group) {
    if (gState != nullptr) xkb_state_update_mask(gState, depressed, latched, locked, 0, 0, group);
}
void OnRepeat(void*, wl_keyboard*, int32_t, int32_t) {}
const wl_keyboard_listener kKeyboard = {OnKeymap, OnEnter, OnLeave, OnKey, OnModifiers, OnRepeat};

// --- pointer ------------------------------------------------------------------------

void OnPointerEnter(void*, wl_pointer*, uint32_t, wl_surface*, wl_fixed_t x, wl_fixed_t y) {
    gX = wl_fixed_to_double(x), gY = wl_fixed_to_double(y);
}
void OnPointerLeave(void*, wl_pointer*, uint32_t, wl_surface*) {}
void OnMotion(void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
    gX = wl_fixed_to_double(x), gY = wl_fixed_to_double(y);
}
void OnButton(void*, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state) {
    char text[64];
    snprintf(text, sizeof text, "%u %u %.0f %.0f", button, state, gX, gY);
    Log("button %s", text);
}
void OnAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void OnFrame(void*, wl_pointer*) {}
void OnAxisSource(void*, wl_pointer*, uint32_t) {}
void OnAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void OnAxisDiscrete(void*, wl_pointer*, uint32_t axis, int32_t discrete) {
    char text[32];
    snprintf(text, sizeof text, "%u %d", axis, discrete);
    Log("wheel %s", text);
}
const wl_pointer_listener kPointer = {OnPointerEnter, OnPointerLeave, OnMotion,   OnButton,      OnAxis,
                                      OnFrame,        OnAxisSource,   OnAxisStop, OnAxisDiscrete, nullptr};

void OnCapabilities(void*, wl_seat* seat, uint32_t capabilities) {
    static bool keyboard = false, pointer = false;
    if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0 && !keyboard) {
        keyboard = true;
        wl_keyboard_add_listener(wl_seat_get_keyboard(seat), &kKeyboard, nullptr);
    }
    if ((capabilities & WL_SEAT_CAPABILITY_POINTER) != 0 && !pointer) {
        pointer = true;
        wl_pointer_add_listener(wl_seat_get_pointer(seat), &kPointer, nullptr);
    }
}
void OnSeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener kSeat = {OnCapabilities, OnSeatName};

// --- window -------------------------------------------------------------------------

void OnPing(void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }
const xdg_wm_base_listener kWmBase = {OnPing};

// A plain grey picture of the size asked for.
void Draw(int32_t width, int32_t height) {
    if (width <= 0) width = 640;
    if (height <= 0) height = 480;
    const int32_t stride = width * 4, size = stride * height;
    const int fd = memfd_create("receiver", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, size) != 0) return;
    void* pixels = mmap(nullptr, static_cast<size_t>(size), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels != MAP_FAILED) {
        memset(pixels, 0x80, static_cast<size_t>(size));
        munmap(pixels, static_cast<size_t>(size));
    }
    wl_shm_pool* pool = wl_shm_create_pool(gShm, fd, size);
    wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    wl_surface_attach(gSurface, buffer, 0, 0);
    wl_surface_damage(gSurface, 0, 0, width, height);
    wl_surface_commit(gSurface);
}

int32_t gWidth = 0, gHeight = 0;
void OnSurfaceConfigure(void*, xdg_surface* surface, uint32_t serial) {
    xdg_surface_ack_configure(surface, serial);
    Draw(gWidth, gHeight);
    gConfigured = true;
}
const xdg_surface_listener kXdgSurface = {OnSurfaceConfigure};
void OnToplevelConfigure(void*, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
    gWidth = width, gHeight = height;
}
void OnClose(void*, xdg_toplevel*) {}
const xdg_toplevel_listener kToplevel = {OnToplevelConfigure, OnClose, nullptr, nullptr};

void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    if (strcmp(interface, wl_compositor_interface.name) == 0) {
        gCompositor = static_cast<wl_compositor*>(wl_registry_bind(registry, name, &wl_compositor_interface, 4));
    } else if (strcmp(interface, wl_shm_interface.name) == 0) {
        gShm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    } else if (strcmp(interface, wl_seat_interface.name) == 0 && gSeat == nullptr) {
        gSeat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 5));
        wl_seat_add_listener(gSeat, &kSeat, nullptr);
    } else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        gKeyboards = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
    } else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        gPointers = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    } else if (strcmp(interface, xdg_wm_base_interface.name) == 0) {
        gWmBase = static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 1));
        xdg_wm_base_add_listener(gWmBase, &kWmBase, nullptr);
    }
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistry = {OnGlobal, OnGlobalRemove};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        fprintf(stderr, "usage: %s TITLE LOGFILE [STALL_MS]\n", argv[0]);
        return 2;
    }
    if (argc == 4) gStallMs = atol(argv[3]);
    gLog = fopen(argv[2], "a");
    wl_display* display = wl_display_connect(nullptr);
    if (gLog == nullptr || display == nullptr) {
        fprintf(stderr, "%s: no log file or no Wayland display\n", argv[0]);
        return 1;
    }
    gXkb = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    wl_registry_add_listener(wl_display_get_registry(display), &kRegistry, nullptr);
    wl_display_roundtrip(display);
    if (gCompositor == nullptr || gShm == nullptr || gWmBase == nullptr || gSeat == nullptr) {
        fprintf(stderr, "%s: the compositor lacks a global this window needs\n", argv[0]);
        return 1;
    }
    if (gKeyboards != nullptr) zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(gKeyboards, gSeat);
    if (gPointers != nullptr) zwlr_virtual_pointer_manager_v1_create_virtual_pointer(gPointers, gSeat);
    gSurface = wl_compositor_create_surface(gCompositor);
    xdg_surface* surface = xdg_wm_base_get_xdg_surface(gWmBase, gSurface);
    xdg_surface_add_listener(surface, &kXdgSurface, nullptr);
    xdg_toplevel* toplevel = xdg_surface_get_toplevel(surface);
    xdg_toplevel_add_listener(toplevel, &kToplevel, nullptr);
    xdg_toplevel_set_title(toplevel, argv[1]);
    xdg_toplevel_set_app_id(toplevel, "kelmor-receiver");
    wl_surface_commit(gSurface);
    Log("started%s", "");
    while (wl_display_dispatch(display) >= 0) {
    }
    fprintf(stderr, "%s: the compositor went away: %s\n", argv[0], strerror(wl_display_get_error(display)));
    return 1;
}
