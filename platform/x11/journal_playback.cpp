// The X11 output of the journal playback driver (platform/posix/playback_driver.h): a
// filled record injected through XTest.
#include <X11/Xlib.h>

#include <cstdint>

#include "platform/posix/playback_driver.h"
#include "platform/wayland/choice.h"
#include "platform/wintypes.h"
#include "platform/x11/display.h"
#include "platform/x11/inject.h"
#include "platform/x11/journal_drivers.h"
#include "platform/x11/typing.h"

namespace {

struct XTestOut {
    Display* display;
    void character(uint32_t c, bool press) { X11TypeCharacter(display, c, press); }
    void key(uint8_t vk, uint8_t scan, bool extended, bool press) { X11InjectKey(display, vk, scan, extended, press); }
    void motion(int32_t x, int32_t y) { X11InjectMotion(display, x, y); }
    void button(unsigned n, bool press) { X11InjectButton(display, n, press); }
};

void InjectRecord(const EVENTMSG& record) {
    XTestOut out{X11Display()};
    if (out.display != nullptr) PlayRecord(record, out);
}

void Flush() {
    Display* display = X11Display();
    if (display != nullptr) XFlush(display);
}

void ReleaseHeld() { X11ReleaseHeldInput(X11Display()); }

const PlaybackOutput kXTestOutput = {InjectRecord, Flush, ReleaseHeld};

}  // namespace

bool X11StartPlaybackDriver(JournalProc proc) {
    bool refused = false;
    const KelmorWayland* wayland = WaylandPlayback(&refused);
    if (wayland != nullptr) {
        static const PlaybackOutput kWaylandOutput = {wayland->inject, wayland->flush, wayland->releaseHeld};
        return StartPlaybackDriver(proc, &kWaylandOutput);
    }
    Display* display = refused ? nullptr : X11Display();
    return display != nullptr && X11HasXTest(display) && StartPlaybackDriver(proc, &kXTestOutput);
}

void X11StopPlaybackDriver() { StopPlaybackDriver(); }
