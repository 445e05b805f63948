// The bitmaps of the gadgets and the About box's logo, drawn with cairo by resource id.
#pragma once
#include <cairo.h>

// A new surface with the bitmap's picture, or nullptr for an id without a drawing.
cairo_surface_t* DrawBitmap(int bitmapId);
