// Other programs' windows, as the compositor tells of them through the foreign-toplevel
// protocol: their titles and states, and their activation. A window's handle is a number
// given in the order the compositor announced the windows, never used twice.
#pragma once
#include <cstdint>

// Starts listening; false when the compositor offers no foreign-toplevel manager.
bool WaylandToplevelsOpen();
// The windows now open, in the order they were announced; returns how many were stored.
int WaylandEnumWindows(uint32_t* out, int max);
// The title, cut to fit size - 1 bytes; its length, 0 for a window gone.
int WaylandWindowTitle(uint32_t window, char* out, int size);
bool WaylandWindowMinimized(uint32_t window);
bool WaylandRestoreWindow(uint32_t window);
// Asks for the window to be activated and waits a moment until the compositor says it
// is; false when it did not say so in time.
bool WaylandActivateWindow(uint32_t window);
// The window with the keyboard focus; 0 when none the compositor tells of has it.
uint32_t WaylandForegroundWindow();
