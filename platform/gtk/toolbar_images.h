// The toolbar's 16x16 images, drawn with cairo when the window is built.
#pragma once
#include <gtk/gtk.h>

// Image index (0-based, as in ui/toolbar_description.h) as a new image widget; an index
// without a drawing gives an empty image.
GtkWidget* ToolbarImage(int index);
// The same picture as a new surface, nullptr for an index without a drawing.
cairo_surface_t* ToolbarSurface(int index);
extern const int kToolbarImageCount;
