// A rounded badge whose colour and white glyph tell the state at a glance, even at the
// 16 pixels of a small panel: blue with a K while the keyboard service runs, grey with
// a K while it is stopped, red with a dot while recording, green with a triangle while
// playing.
#include "platform/gtk/tray_images.h"

#include <cmath>

namespace {

struct Look {
    int code;
    double r, g, b;
    void (*glyph)(cairo_t*);
};

void Letter(cairo_t* cr) {
    cairo_set_line_width(cr, 2.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 5.5, 4);
    cairo_line_to(cr, 5.5, 12);
    cairo_move_to(cr, 10.5, 4);
    cairo_line_to(cr, 6, 8.5);
    cairo_move_to(cr, 7.5, 7);
    cairo_line_to(cr, 11, 12);
    cairo_stroke(cr);
}

void Dot(cairo_t* cr) {
    cairo_arc(cr, 8, 8, 3.5, 0, 2 * M_PI);
    cairo_fill(cr);
}

void Triangle(cairo_t* cr) {
    cairo_move_to(cr, 6, 4);
    cairo_line_to(cr, 12, 8);
    cairo_line_to(cr, 6, 12);
    cairo_close_path(cr);
    cairo_fill(cr);
}

const Look kLooks[] = {
    {1000, 0.2, 0.45, 0.85, Letter},
    {1006, 0.55, 0.55, 0.55, Letter},
    {1003, 0.85, 0.15, 0.15, Dot},
    {1004, 0.15, 0.6, 0.25, Triangle},
};

void Badge(cairo_t* cr, double r, double g, double b) {
    const double radius = 3;
    const double left = 1, top = 1, right = 15, bottom = 15;
    cairo_new_sub_path(cr);
    cairo_arc(cr, right - radius, top + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, right - radius, bottom - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, left + radius, bottom - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, left + radius, top + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, r * 0.5, g * 0.5, b * 0.5);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

}  // namespace

GdkPixbuf* TrayImage(int code, int size) {
    if (size < 1) size = 16;
    const Look* look = &kLooks[1];
    for (const Look& l : kLooks) {
        if (l.code == code) look = &l;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, size / 16.0, size / 16.0);
    Badge(cr, look->r, look->g, look->b);
    cairo_set_source_rgb(cr, 1, 1, 1);
    look->glyph(cr);
    cairo_destroy(cr);
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_surface(surface, 0, 0, size, size);
    cairo_surface_destroy(surface);
    return pixbuf;
}
