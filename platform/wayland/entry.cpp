// The module's one export: the table of platform/wayland/module.h.
#include <glib.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/input.h"
#include "platform/posix/playback_driver.h"
#include "platform/wayland/connection.h"
#include "platform/wayland/keyboard.h"
#include "platform/wayland/module.h"
#include "platform/wayland/pointer.h"
#include "platform/wayland/toplevels.h"

namespace {

const uint32_t kHorizontalWheel = 0x01000;
const int kWheelDelta = 120;

int gWheelRest = 0, gHorizontalRest = 0;

void Flush() { wl_display_flush(Wayland()->display); }

void ReleaseHeld() {
    WaylandReleaseKeys(false);
    WaylandReleaseButtons();
    Flush();
}

// A program that exits straight after its last key (a hidden playback does, and so does
// one ended by a signal) would lose what is still in flight: the exit waits until the
// compositor has taken everything, held keys released included.
void FinishAtExit() {
    ReleaseHeld();
    wl_display_roundtrip(Wayland()->display);
}

bool Open(char* why, int whySize) {
    if (!WaylandConnect(why, whySize)) return false;
    if (!WaylandKeyboardOpen() || !WaylandPointerOpen()) {
        snprintf(why, static_cast<size_t>(whySize), "no keymap could be made (is xkb-data installed?)");
        return false;
    }
    WaylandToplevelsOpen();
    atexit(FinishAtExit);
    return true;
}

bool KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
    const bool sent = WaylandKey(vk, scan, (flags & KEYEVENTF_EXTENDEDKEY) != 0, (flags & KEYEVENTF_KEYUP) == 0);
    Flush();
    return sent;
}

int TypeCharacter(uint32_t character, bool press) {
    const int sent = WaylandTypeCharacter(character, press);
    Flush();
    return sent;
}

void Wheel(bool horizontal, int* rest, int32_t data) {
    *rest += data;
    const int notches = *rest / kWheelDelta;
    *rest -= notches * kWheelDelta;
    WaylandWheel(horizontal, notches);
}

void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data) {
    const WaylandGlobals* wayland = Wayland();
    if ((flags & MOUSEEVENTF_MOVE) != 0 && (flags & MOUSEEVENTF_ABSOLUTE) != 0) {
        // 0..65535 spans the layout, the last value landing on its last pixel.
        const auto span = [](int32_t value, int32_t extent) {
            const int64_t clamped = value < 0 ? 0 : value > 65535 ? 65535 : value;
            return static_cast<int32_t>(clamped * extent / 65536);
        };
        WaylandMotion(span(dx, wayland->width), span(dy, wayland->height));
    }
    for (const MouseButtonFlag& b : kMouseButtonFlags) {
        if ((flags & b.flag) != 0) WaylandButton(b.button, b.press);
    }
    if ((flags & MOUSEEVENTF_WHEEL) != 0) Wheel(false, &gWheelRest, data);
    if ((flags & kHorizontalWheel) != 0) Wheel(true, &gHorizontalRest, data);
    Flush();
}

void ReleaseModifiers() {
    WaylandReleaseKeys(true);
    Flush();
}

bool GetScreenSize(int32_t* width, int32_t* height) {
    *width = Wayland()->width;
    *height = Wayland()->height;
    return *width > 0 && *height > 0;
}

int EnumWindows(HWND32* out, int max) {
    static bool told = false;
    if (!Wayland()->toplevels && !told) {
        fprintf(stderr, "%s: the compositor offers no zwlr_foreign_toplevel_manager_v1: GOTO finds no window\n",
                g_get_prgname());
        told = true;
    }
    return WaylandEnumWindows(out, max);
}

bool ActivateWindow(HWND32 window) {
    const bool activated = WaylandActivateWindow(window);
    Flush();
    return activated;
}

struct WaylandOut {
    void character(uint32_t c, bool press) { WaylandTypeCharacter(c, press); }
    void key(uint8_t vk, uint8_t scan, bool extended, bool press) { WaylandKey(vk, scan, extended, press); }
    void motion(int32_t x, int32_t y) { WaylandMotion(x, y); }
    void button(unsigned n, bool press) { WaylandButton(n, press); }
};

// Events played without delays must not outrun the program that receives them: the
// compositor keeps only a few kilobytes (about 170 key events) for a client that has not
// read them yet, and disconnects one that falls further behind (libwayland before 1.23),
// and no protocol tells when a client has read. So events go out at most this fast, in
// steps of a few, each step once the compositor has handled the one before: a receiver
// may then stall for about 14 ms without being cut off.
const int kEventsPerStep = 24;
const int64_t kMaxEventsPerSecond = 12000;
int gStepEvents = 0;
int64_t gStepStart = 0;

int64_t NowMicros() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

void Pace() {
    if (++gStepEvents < kEventsPerStep) return;
    // Events that came slower than that (a recording's own gaps) are not held up.
    const int64_t due = gStepStart + kEventsPerStep * 1000000 / kMaxEventsPerSecond;
    if (NowMicros() < due) {
        wl_display_roundtrip(Wayland()->display);
        const int64_t now = NowMicros();
        const timespec pause = {0, static_cast<long>(now < due ? (due - now) * 1000 : 0)};
        nanosleep(&pause, nullptr);
    }
    gStepStart = NowMicros();
    gStepEvents = 0;
}

void Inject(const EVENTMSG& record) {
    WaylandOut out;
    PlayRecord(record, out);
    Pace();
}

const KelmorWayland kTable = {sizeof(KelmorWayland), KELMOR_WAYLAND_VERSION, Open, KeybdEvent,
                              WaylandCanTypeCharacter, TypeCharacter, MouseEvent, ReleaseModifiers,
                              GetScreenSize, Inject, Flush, ReleaseHeld, EnumWindows, WaylandWindowTitle,
                              WaylandWindowMinimized, WaylandRestoreWindow, ActivateWindow,
                              WaylandForegroundWindow};

}  // namespace

extern "C" __attribute__((visibility("default"))) const KelmorWayland* KelmorWaylandEntry() { return &kTable; }
