#include "platform/wayland/pointer.h"

#include "platform/wayland/connection.h"

namespace {

// Button codes of the evdev protocol.
const uint32_t kButtonLeft = 0x110, kButtonRight = 0x111, kButtonMiddle = 0x112;
// The compositors scroll this far for one notch of a wheel.
const double kNotch = 15.0;

zwlr_virtual_pointer_v1* gPointer = nullptr;
bool gHeld[4];

uint32_t Code(unsigned button) { return button == 3 ? kButtonRight : button == 2 ? kButtonMiddle : kButtonLeft; }

uint32_t Clamp(int32_t value, int32_t extent) {
    return static_cast<uint32_t>(value < 0 ? 0 : value >= extent ? extent - 1 : value);
}

}  // namespace

bool WaylandPointerOpen() {
    WaylandGlobals* wayland = Wayland();
    gPointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(wayland->pointers, wayland->seat);
    return gPointer != nullptr;
}

void WaylandMotion(int32_t x, int32_t y) {
    const WaylandGlobals* wayland = Wayland();
    if (gPointer == nullptr || wayland->width <= 0 || wayland->height <= 0) return;
    zwlr_virtual_pointer_v1_motion_absolute(gPointer, WaylandTime(), Clamp(x, wayland->width),
                                            Clamp(y, wayland->height), static_cast<uint32_t>(wayland->width),
                                            static_cast<uint32_t>(wayland->height));
    zwlr_virtual_pointer_v1_frame(gPointer);
}

void WaylandButton(unsigned button, bool press) {
    if (gPointer == nullptr || button < 1 || button > 3) return;
    gHeld[button] = press;
    zwlr_virtual_pointer_v1_button(gPointer, WaylandTime(), Code(button),
                                   press ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(gPointer);
}

void WaylandWheel(bool horizontal, int notches) {
    if (gPointer == nullptr || notches == 0) return;
    // Wayland counts down and right as positive; a wheel turned up scrolls up.
    const int32_t discrete = horizontal ? notches : -notches;
    const uint32_t axis = horizontal ? WL_POINTER_AXIS_HORIZONTAL_SCROLL : WL_POINTER_AXIS_VERTICAL_SCROLL;
    zwlr_virtual_pointer_v1_axis_source(gPointer, WL_POINTER_AXIS_SOURCE_WHEEL);
    zwlr_virtual_pointer_v1_axis_discrete(gPointer, WaylandTime(), axis, wl_fixed_from_double(discrete * kNotch),
                                          discrete);
    zwlr_virtual_pointer_v1_frame(gPointer);
}

void WaylandReleaseButtons() {
    for (unsigned button = 1; button <= 3; ++button) {
        if (gHeld[button]) WaylandButton(button, false);
    }
}
