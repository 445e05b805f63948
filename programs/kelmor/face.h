// The face module of the kelmor program, loaded the first time something asks for it.
#pragma once
#include "platform/face.h"

// The module's table, or nullptr when it cannot be loaded (said once on standard error).
const KelmorFace* LoadFace();
// The table once the main window exists; nullptr before (and in every hidden run), when
// window and dialog calls have nothing to act on.
const KelmorFace* WindowFace();
// Opens the main window, hidden, from the descriptions of ui/; false (with the reason on
// standard error) when the module has no window or there is no display.
bool OpenMainWindow(void (*onCommand)(int id), bool (*onClose)());
