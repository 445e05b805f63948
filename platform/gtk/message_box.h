// Message boxes as GTK message dialogs, for the program with a screen.
#pragma once

// Connects GTK to the display. Until it has succeeded, and for good when it fails (no
// display), message boxes are printed on standard error instead.
bool GtkMessageBoxesInit();
