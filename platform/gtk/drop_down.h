// How wide a drop-down list opens (DialogFitDropDown of platform/dialog.h).
#pragma once
#include <gtk/gtk.h>

// From the next time it opens, the combo's list is at least as wide as its longest entry
// needs by the program's rule, but no wider than limit pixels for that reason.
void GtkFitDropDown(GtkComboBox* combo, int limit);
