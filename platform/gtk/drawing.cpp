#include "platform/gtk/drawing.h"

#include <cmath>

void Colour(cairo_t* cr, double r, double g, double b) { cairo_set_source_rgb(cr, r, g, b); }

void FillAndOutline(cairo_t* cr, double r, double g, double b) {
    Colour(cr, r, g, b);
    cairo_fill_preserve(cr);
    Colour(cr, r * 0.45, g * 0.45, b * 0.45);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

void QuestionMark(cairo_t* cr, double r, double g, double b) {
    cairo_arc(cr, 8, 8, 6.5, 0, 2 * M_PI);
    FillAndOutline(cr, r, g, b);
    Colour(cr, 1, 1, 1);
    cairo_set_line_width(cr, 1.8);
    cairo_arc(cr, 8, 6, 2.2, M_PI, 2.5 * M_PI);
    cairo_line_to(cr, 8, 9.5);
    cairo_stroke(cr);
    cairo_arc(cr, 8, 12, 1.0, 0, 2 * M_PI);
    cairo_fill(cr);
}

cairo_surface_t* DrawnSurface(int width, int height, void (*draw)(cairo_t*)) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    draw(cr);
    cairo_destroy(cr);
    return surface;
}
