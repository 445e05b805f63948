// Gadgets are 16x16: a key cap for the Mappings, a sheet of lines for the ShortTypes, each
// with a green plus to add or a red cross to delete, and a question mark whose colour sets
// it apart from the toolbar's Help. The logo is a key cap with a K and a record dot. The
// Mouse Coordinates tool is a sunken well holding a target that a person drags out: the
// well shows empty while the target is on the move (it is then the pointer).
#include "platform/gtk/pictures.h"

#include <cmath>

#include "platform/gtk/drawing.h"
#include "platform/picture_ids.h"

namespace {

const int kGadgetSize = 16;
const int kLogoSize = 48;

void KeyCap(cairo_t* cr) {
    cairo_rectangle(cr, 1.5, 2.5, 10, 10);
    FillAndOutline(cr, 0.88, 0.88, 0.9);
    cairo_rectangle(cr, 3.5, 4.5, 6, 5);
    FillAndOutline(cr, 0.97, 0.97, 0.98);
}

void Lines(cairo_t* cr) {
    cairo_rectangle(cr, 1.5, 1.5, 10, 12);
    FillAndOutline(cr, 1, 1, 1);
    Colour(cr, 0.3, 0.4, 0.7);
    cairo_set_line_width(cr, 1.0);
    for (int i = 0; i < 4; ++i) {
        cairo_move_to(cr, 3.5, 4.5 + 2.5 * i);
        cairo_line_to(cr, i == 3 ? 7 : 9.5, 4.5 + 2.5 * i);
    }
    cairo_stroke(cr);
}

// A small disc at the lower right with a white plus, or a cross when turned by 45 degrees.
void Badge(cairo_t* cr, double r, double g, double b, bool cross) {
    cairo_arc(cr, 11.5, 11.5, 4, 0, 2 * M_PI);
    FillAndOutline(cr, r, g, b);
    cairo_save(cr);
    cairo_translate(cr, 11.5, 11.5);
    if (cross) cairo_rotate(cr, M_PI / 4);
    Colour(cr, 1, 1, 1);
    cairo_set_line_width(cr, 1.6);
    cairo_move_to(cr, -2.2, 0);
    cairo_line_to(cr, 2.2, 0);
    cairo_move_to(cr, 0, -2.2);
    cairo_line_to(cr, 0, 2.2);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void PlusBadge(cairo_t* cr) { Badge(cr, 0.15, 0.65, 0.2, false); }

void CrossBadge(cairo_t* cr) { Badge(cr, 0.85, 0.15, 0.1, true); }

void AddMapping(cairo_t* cr) {
    KeyCap(cr);
    PlusBadge(cr);
}

void DeleteMapping(cairo_t* cr) {
    KeyCap(cr);
    CrossBadge(cr);
}

void AddShortType(cairo_t* cr) {
    Lines(cr);
    PlusBadge(cr);
}

void DeleteShortType(cairo_t* cr) {
    Lines(cr);
    CrossBadge(cr);
}

// Teal, RGB(0, 153, 102) inside the disc.
void HelpGadget(cairo_t* cr) { QuestionMark(cr, 0, 153 / 255.0, 102 / 255.0); }

void RoundedSquare(cairo_t* cr, double x, double y, double size, double radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + size - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + size - radius, y + size - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + size - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

// Navy ground, RGB(26, 51, 115).
void Logo(cairo_t* cr) {
    RoundedSquare(cr, 1, 1, 46, 8);
    FillAndOutline(cr, 26 / 255.0, 51 / 255.0, 115 / 255.0);
    RoundedSquare(cr, 9.5, 11.5, 28, 4);
    FillAndOutline(cr, 0.93, 0.93, 0.95);
    Colour(cr, 26 / 255.0, 51 / 255.0, 115 / 255.0);
    cairo_select_font_face(cr, "Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 22);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, "K", &extents);
    cairo_move_to(cr, 23.5 - extents.width / 2 - extents.x_bearing, 25.5 - extents.height / 2 - extents.y_bearing);
    cairo_show_text(cr, "K");
    cairo_new_path(cr);  // no line from the end of the text to the dot
    cairo_arc(cr, 39, 9, 5, 0, 2 * M_PI);
    FillAndOutline(cr, 0.9, 0.1, 0.1);
}

const int kMouseToolSize = 32;

void Well(cairo_t* cr) {
    cairo_rectangle(cr, 1.5, 1.5, 29, 29);
    FillAndOutline(cr, 0.97, 0.97, 0.98);
}

void MouseTool(cairo_t* cr) {
    Well(cr);
    cairo_arc(cr, 16, 16, 9, 0, 2 * M_PI);
    FillAndOutline(cr, 1, 1, 1);
    cairo_arc(cr, 16, 16, 4, 0, 2 * M_PI);
    FillAndOutline(cr, 0.85, 0.15, 0.1);
    Colour(cr, 0.1, 0.1, 0.1);
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, 16, 4);
    cairo_line_to(cr, 16, 28);
    cairo_move_to(cr, 4, 16);
    cairo_line_to(cr, 28, 16);
    cairo_stroke(cr);
}

void MouseToolCapturing(cairo_t* cr) { Well(cr); }

struct Drawing {
    int bitmapId;
    int size;
    void (*draw)(cairo_t*);
};

const Drawing kDrawings[] = {
    {IDB_ADD_MAPPING, kGadgetSize, AddMapping},       {IDB_DELETE_MAPPING, kGadgetSize, DeleteMapping},
    {IDB_ADD_SHORTTYPE, kGadgetSize, AddShortType},   {IDB_DELETE_SHORTTYPE, kGadgetSize, DeleteShortType},
    {IDB_HELP_GADGET, kGadgetSize, HelpGadget},       {IDB_ABOUT_LOGO, kLogoSize, Logo},
    {IDB_MOUSE_TOOL, kMouseToolSize, MouseTool},      {IDB_MOUSE_TOOL_CAPTURING, kMouseToolSize, MouseToolCapturing},
};

}  // namespace

cairo_surface_t* DrawBitmap(int bitmapId) {
    for (const Drawing& d : kDrawings) {
        if (d.bitmapId == bitmapId) return DrawnSurface(d.size, d.size, d.draw);
    }
    return nullptr;
}
