// The size the main window's panes had once all their pages were made, kept in the user's
// cache folder from one start to the next. With it the window comes up at its full size
// while the pages behind the shown one are still to be made. It holds for the same
// program version, theme, font, resolution and scale only.
#pragma once
#include <gtk/gtk.h>

// The size kept for the panes in widget's window; false when none holds.
bool ReadPaneSize(GtkWidget* widget, int* width, int* height);
// Keeps the size, when it differs from the one kept.
void KeepPaneSize(GtkWidget* widget, int width, int height);
