// The virtual pointer: absolute motion over the outputs' layout, buttons and the wheel.
#pragma once
#include <cstdint>

bool WaylandPointerOpen();
void WaylandMotion(int32_t x, int32_t y);
// X's button numbers: 1 left, 2 middle, 3 right.
void WaylandButton(unsigned button, bool press);
// Wheel notches: positive turns it away from the user (up) or to the right.
void WaylandWheel(bool horizontal, int notches);
void WaylandReleaseButtons();
