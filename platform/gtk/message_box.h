// GTK message dialogs, shown by the face module.
#pragma once
#include <cstdint>

// A modal dialog without a parent, answered by the user: the ID* answer, or 0 when GTK
// cannot start (no display).
int GtkMessageBox(const char* text, const char* caption, uint32_t style, int iconId);

// Connects GTK to the display the first time a box or the window needs it: most
// playbacks never show one, and GTK's start costs more than the rest of the program.
// False when there is no display.
bool GtkFaceStart();
