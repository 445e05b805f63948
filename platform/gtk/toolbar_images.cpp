// Simple glyphs in the spirit of a 16x16 toolbar strip: a page, a folder, a disk, the
// record/stop/play trio, a command prompt, sliders and a question mark.
#include "platform/gtk/toolbar_images.h"

#include <cmath>

#include "platform/gtk/drawing.h"

namespace {

const int kSize = 16;

void Page(cairo_t* cr) {
    const Point sheet[] = {{3.5, 1.5}, {9.5, 1.5}, {12.5, 4.5}, {12.5, 14.5}, {3.5, 14.5}};
    Polygon(cr, sheet, 1.0, 1.0, 1.0);
    // The folded corner.
    cairo_move_to(cr, 9.5, 1.5);
    cairo_line_to(cr, 9.5, 4.5);
    cairo_line_to(cr, 12.5, 4.5);
    cairo_stroke(cr);
}

void Folder(cairo_t* cr) {
    const Point folder[] = {{1.5, 3.5}, {6.5, 3.5}, {7.5, 5.5}, {14.5, 5.5}, {14.5, 13.5}, {1.5, 13.5}};
    Polygon(cr, folder, 0.95, 0.78, 0.3);
}

void Disk(cairo_t* cr) {
    cairo_rectangle(cr, 2.5, 2.5, 11, 11);
    FillAndOutline(cr, 0.25, 0.4, 0.75);
    cairo_rectangle(cr, 4.5, 2.5, 7, 4);
    FillAndOutline(cr, 1.0, 1.0, 1.0);
    cairo_rectangle(cr, 5, 9, 6, 4);
    Colour(cr, 0.85, 0.85, 0.85);
    cairo_fill(cr);
}

void RecordDot(cairo_t* cr) {
    cairo_arc(cr, 8, 8, 5, 0, 2 * M_PI);
    FillAndOutline(cr, 0.9, 0.1, 0.1);
}

void StopSquare(cairo_t* cr) {
    cairo_rectangle(cr, 3.5, 3.5, 9, 9);
    FillAndOutline(cr, 0.25, 0.25, 0.25);
}

void PlayTriangle(cairo_t* cr) {
    const Point triangle[] = {{4.5, 2.5}, {13.5, 8}, {4.5, 13.5}};
    Polygon(cr, triangle, 0.1, 0.65, 0.2);
}

void Prompt(cairo_t* cr) {
    cairo_rectangle(cr, 1.5, 2.5, 13, 11);
    FillAndOutline(cr, 0.15, 0.15, 0.2);
    Colour(cr, 0.9, 0.9, 0.9);
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, 4, 5.5);
    cairo_line_to(cr, 7, 8);
    cairo_line_to(cr, 4, 10.5);
    cairo_move_to(cr, 8, 11);
    cairo_line_to(cr, 12, 11);
    cairo_stroke(cr);
}

void Sliders(cairo_t* cr) {
    Colour(cr, 0.35, 0.35, 0.35);
    cairo_set_line_width(cr, 1.0);
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, 2, 3.5 + 4.5 * i);
        cairo_line_to(cr, 14, 3.5 + 4.5 * i);
    }
    cairo_stroke(cr);
    const double knobs[] = {10, 5, 8};
    for (int i = 0; i < 3; ++i) {
        cairo_rectangle(cr, knobs[i] - 1.5, 1.5 + 4.5 * i, 3, 4);
        FillAndOutline(cr, 0.3, 0.55, 0.9);
    }
}

void Question(cairo_t* cr) { QuestionMark(cr, 0.2, 0.45, 0.85); }

void (*const kDrawings[])(cairo_t*) = {Page, Folder, Disk, RecordDot, StopSquare, PlayTriangle, Prompt, Sliders, Question};

}  // namespace

const int kToolbarImageCount = sizeof kDrawings / sizeof kDrawings[0];

cairo_surface_t* ToolbarSurface(int index) {
    if (index < 0 || index >= kToolbarImageCount) return nullptr;
    return DrawnSurface(kSize, kSize, kDrawings[index]);
}

GtkWidget* ToolbarImage(int index) {
    cairo_surface_t* surface = ToolbarSurface(index);
    if (surface == nullptr) return gtk_image_new();
    GtkWidget* image = gtk_image_new_from_surface(surface);
    cairo_surface_destroy(surface);
    return image;
}
