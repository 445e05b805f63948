// What the program's drawn pictures share: flat fills with darker outlines, and the
// question mark of the toolbar's Help button and the help gadgets.
#pragma once
#include <cairo.h>

void Colour(cairo_t* cr, double r, double g, double b);
// Fills the current path, then outlines it in a darker tone.
void FillAndOutline(cairo_t* cr, double r, double g, double b);

struct Point {
    double x, y;
};

// A closed outline through the points, filled and outlined.
template <int N>
void Polygon(cairo_t* cr, const Point (&points)[N], double r, double g, double b) {
    cairo_move_to(cr, points[0].x, points[0].y);
    for (int i = 1; i < N; ++i) cairo_line_to(cr, points[i].x, points[i].y);
    cairo_close_path(cr);
    FillAndOutline(cr, r, g, b);
}

// A white question mark on a filled disc, in a 16x16 square.
void QuestionMark(cairo_t* cr, double r, double g, double b);

// A width x height picture drawn by draw on a transparent ground.
cairo_surface_t* DrawnSurface(int width, int height, void (*draw)(cairo_t*));
