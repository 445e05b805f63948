// The menus of the main window as data: the menu bar and the tray menu, in order. Every
// back end (and the test fakes) builds its menus from these tables.
#pragma once
#include "platform/window_parts.h"

extern const MenuEntry kMenuBar[];
extern const int kMenuBarCount;
extern const MenuEntry kTrayMenu[];
extern const int kTrayMenuCount;

extern const Accelerator kAccelerators[];
extern const int kAcceleratorCount;

// The entry of the menu bar with this command id, or nullptr.
const MenuEntry* FindMenuEntry(int id);
