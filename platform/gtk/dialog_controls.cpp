// What the core does to the controls of the GTK dialogs (platform/gtk/dialog.h): texts,
// checks, lists, tab pages, pictures and slider positions.
#include "platform/gtk/dialog.h"

#include <cstring>

#include "platform/gtk/dialogs.h"
#include "platform/gtk/drop_down.h"
#include "platform/gtk/pictures.h"

using namespace gtkdialogs;

namespace {

// The image a picture or gadget shows.
GtkImage* ImageOf(GtkWidget* w) {
    GtkWidget* image = GTK_IS_BUTTON(w)      ? gtk_button_get_image(GTK_BUTTON(w))
                       : GTK_IS_EVENT_BOX(w) ? gtk_bin_get_child(GTK_BIN(w))
                                             : nullptr;
    return image != nullptr && GTK_IS_IMAGE(image) ? GTK_IMAGE(image) : nullptr;
}

// The control of the dialog whose widget has its window's focus, or nullptr.
const Control* FocusedControl(const Dialog* d) {
    GtkWidget* window = d->top != nullptr ? gtk_widget_get_toplevel(d->top) : nullptr;
    GtkWidget* focus = window != nullptr && GTK_IS_WINDOW(window) ? gtk_window_get_focus(GTK_WINDOW(window)) : nullptr;
    if (focus == nullptr) return nullptr;
    for (const Control& c : d->controls) {
        for (GtkWidget* w : c.widgets) {
            if (FocusTarget(w) == focus || w == focus) return &c;
        }
    }
    return nullptr;
}

// A list whose widget is not made yet: the calls on it act on what it is to take on.
bool Unmade(const Control* c) { return c != nullptr && c->widgets.empty() && c->unmadePages != 0; }

int CopyText(const char* text, char* out, int size) {
    if (out == nullptr || size <= 0) return 0;
    if (text == nullptr) text = "";
    const int length = static_cast<int>(strnlen(text, static_cast<size_t>(size) - 1));
    memcpy(out, text, static_cast<size_t>(length));
    out[length] = '\0';
    return length;
}

}  // namespace

void GtkDialogSetText(int dialog, int control, const char* text) {
    Control* c = FindControl(dialog, control);
    if (c == nullptr) return;
    if (c->unmadePages != 0) c->shadow.SetText(text);
    Quiet quiet;
    gchar* valid = g_utf8_make_valid(text != nullptr ? text : "", -1);
    for (GtkWidget* w : c->widgets) {
        if (c->kind == CONTROL_GADGET) {
            gtk_widget_set_tooltip_text(w, valid);
            atk_object_set_name(gtk_widget_get_accessible(w), valid);
        } else if (GTK_IS_COMBO_BOX(w) && gtk_combo_box_get_has_entry(GTK_COMBO_BOX(w))) {
            GtkWidget* entry = gtk_bin_get_child(GTK_BIN(w));
            gtk_entry_set_text(GTK_ENTRY(entry), valid);
            gtk_editable_set_position(GTK_EDITABLE(entry), -1);
        } else if (GTK_IS_ENTRY(w)) gtk_entry_set_text(GTK_ENTRY(w), valid);
        else if (GTK_IS_LABEL(w)) gtk_label_set_text(GTK_LABEL(w), valid);
        else if (GTK_IS_SCROLLED_WINDOW(w)) gtk_text_buffer_set_text(MultilineBuffer(w), valid, -1);
        else if (GTK_IS_LINK_BUTTON(w)) {
            gtk_button_set_label(GTK_BUTTON(w), valid);
            gtk_link_button_set_uri(GTK_LINK_BUTTON(w), valid);
        }
        else if (GTK_IS_BUTTON(w)) gtk_button_set_label(GTK_BUTTON(w), GtkMnemonicText(valid).c_str());
        else if (GTK_IS_WINDOW(w)) gtk_window_set_title(GTK_WINDOW(w), valid);
    }
    g_free(valid);
}

int GtkDialogGetText(int dialog, int control, char* out, int size) {
    Control* c = FindMadeControl(dialog, control);
    const char* text = "";
    if (c != nullptr && !c->widgets.empty()) {
        GtkWidget* w = c->widgets[0];
        if (GTK_IS_SCROLLED_WINDOW(w)) {
            GtkTextIter start, end;
            gtk_text_buffer_get_bounds(MultilineBuffer(w), &start, &end);
            gchar* all = gtk_text_buffer_get_text(MultilineBuffer(w), &start, &end, FALSE);
            const int length = CopyText(all, out, size);
            g_free(all);
            return length;
        }
        if (c->kind == CONTROL_GADGET) {
            gchar* tip = gtk_widget_get_tooltip_text(w);
            const int length = CopyText(tip, out, size);
            g_free(tip);
            return length;
        }
        if (GTK_IS_COMBO_BOX(w) && gtk_combo_box_get_has_entry(GTK_COMBO_BOX(w))) {
            text = gtk_entry_get_text(GTK_ENTRY(gtk_bin_get_child(GTK_BIN(w))));
        } else if (GTK_IS_ENTRY(w)) text = gtk_entry_get_text(GTK_ENTRY(w));
        else if (GTK_IS_LABEL(w)) text = gtk_label_get_text(GTK_LABEL(w));
        else if (GTK_IS_BUTTON(w)) text = gtk_button_get_label(GTK_BUTTON(w));
    }
    return CopyText(text, out, size);
}

void GtkDialogCheck(int dialog, int control, bool checked) {
    Control* c = FindControl(dialog, control);
    if (c == nullptr) return;
    if (c->unmadePages != 0) c->shadow.checked = checked;
    Quiet quiet;
    for (GtkWidget* w : c->widgets) {
        // An option button is cleared by checking another of its group.
        if (GTK_IS_RADIO_BUTTON(w) && !checked) continue;
        if (GTK_IS_LINK_BUTTON(w)) gtk_link_button_set_visited(GTK_LINK_BUTTON(w), checked);
        if (GTK_IS_TOGGLE_BUTTON(w)) gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w), checked);
    }
}

bool GtkDialogIsChecked(int dialog, int control) {
    Control* c = FindMadeControl(dialog, control);
    if (c == nullptr || c->widgets.empty()) return false;
    GtkWidget* w = c->widgets[0];
    if (GTK_IS_LINK_BUTTON(w)) return gtk_link_button_get_visited(GTK_LINK_BUTTON(w));
    return GTK_IS_TOGGLE_BUTTON(w) && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w));
}

void GtkDialogEnable(int dialog, int control, bool enabled) {
    Control* c = FindControl(dialog, control);
    if (c == nullptr) return;
    if (c->unmadePages != 0) c->shadow.enabled = enabled;
    for (GtkWidget* w : c->widgets) {
        gtk_widget_set_sensitive(w, enabled);
        // Themes dim the icons they load themselves, not pictures drawn by the program.
        if (ImageOf(w) != nullptr) gtk_widget_set_opacity(w, enabled ? 1.0 : 0.35);
    }
}

void GtkDialogShow(int dialog, int control, bool shown) {
    Control* c = FindControl(dialog, control);
    if (c == nullptr) return;
    if (c->unmadePages != 0) c->shadow.shown = shown;
    // A hidden control keeps its place, as it does in a dialog laid out by position: a
    // page whose controls come and go must not make the window jump in size.
    for (GtkWidget* w : c->widgets) gtk_widget_set_child_visible(w, shown);
}

void GtkDialogFocus(int dialog, int control) {
    Control* c = FindMadeControl(dialog, control);
    if (c != nullptr && !c->widgets.empty()) gtk_widget_grab_focus(FocusTarget(c->widgets[0]));
}

int GtkDialogGetFocus(int dialog) {
    const Dialog* d = FindDialog(dialog);
    const Control* c = d != nullptr ? FocusedControl(d) : nullptr;
    return c != nullptr ? c->id : 0;
}

void GtkDialogGetSelection(int dialog, int control, int* start, int* end) {
    gint from = 0, to = 0;
    Control* c = FindMadeControl(dialog, control);
    GtkWidget* field = c != nullptr && !c->widgets.empty() ? FocusTarget(c->widgets[0]) : nullptr;
    if (field != nullptr && GTK_IS_ENTRY(field)) {
        // The caret is where the selection ends; GTK hands the two ends over in order.
        gtk_editable_get_selection_bounds(GTK_EDITABLE(field), &from, &to);
        if (from == to) from = to = gtk_editable_get_position(GTK_EDITABLE(field));
    }
    if (start != nullptr) *start = from;
    if (end != nullptr) *end = to;
}

void GtkDialogSetSelection(int dialog, int control, int start, int end) {
    Control* c = FindMadeControl(dialog, control);
    if (c == nullptr) return;
    Quiet quiet;
    for (GtkWidget* w : c->widgets) {
        GtkWidget* field = FocusTarget(w);
        if (GTK_IS_ENTRY(field)) gtk_editable_select_region(GTK_EDITABLE(field), start, end);
    }
}

int GtkDialogListAdd(int dialog, int control, const char* text) {
    Control* c = FindControl(dialog, control);
    if (Unmade(c)) return c->shadow.ListAdd(text);
    if (c == nullptr || c->widgets.empty()) return -1;
    Quiet quiet;
    GtkWidget* w = c->widgets[0];
    if (GTK_IS_NOTEBOOK(w)) {
        GtkNotebook* notebook = GTK_NOTEBOOK(w);
        if (c->labelledPages >= gtk_notebook_get_n_pages(notebook)) {
            GtkWidget* page = NewPage(false);
            gtk_widget_show(page);
            gtk_notebook_append_page(notebook, page, nullptr);
        }
        GtkWidget* page = gtk_notebook_get_nth_page(notebook, c->labelledPages);
        gtk_notebook_set_tab_label_text(notebook, page, text);
        return c->labelledPages++;
    }
    if (GTK_IS_COMBO_BOX_TEXT(w)) {
        gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(w), text);
        return gtk_tree_model_iter_n_children(gtk_combo_box_get_model(GTK_COMBO_BOX(w)), nullptr) - 1;
    }
    if (GTK_IS_LIST_BOX(w)) {
        GtkWidget* label = gtk_label_new(text);
        gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
        gtk_widget_show(label);
        gtk_container_add(GTK_CONTAINER(w), label);
        return GtkDialogListCount(dialog, control) - 1;
    }
    return -1;
}

bool GtkDialogListRemove(int dialog, int control, int index) {
    Control* c = FindControl(dialog, control);
    if (Unmade(c)) return c->shadow.ListRemove(index);
    if (c == nullptr || c->widgets.empty() || index < 0 || index >= GtkDialogListCount(dialog, control)) return false;
    Quiet quiet;
    GtkWidget* w = c->widgets[0];
    if (GTK_IS_COMBO_BOX_TEXT(w)) {
        gtk_combo_box_text_remove(GTK_COMBO_BOX_TEXT(w), index);
        return true;
    }
    if (GTK_IS_LIST_BOX(w)) {
        gtk_widget_destroy(GTK_WIDGET(gtk_list_box_get_row_at_index(GTK_LIST_BOX(w), index)));
        return true;
    }
    return false;  // the pages of a tab strip hold controls and stay
}

void GtkDialogListSelect(int dialog, int control, int index) {
    Control* c = FindControl(dialog, control);
    if (Unmade(c)) {
        c->shadow.ListSelect(index);
        return;
    }
    if (c == nullptr || c->widgets.empty()) return;
    Quiet quiet;
    GtkWidget* w = c->widgets[0];
    if (GTK_IS_NOTEBOOK(w) && index >= 0) gtk_notebook_set_current_page(GTK_NOTEBOOK(w), index);
    else if (GTK_IS_COMBO_BOX(w)) gtk_combo_box_set_active(GTK_COMBO_BOX(w), index);
    else if (GTK_IS_LIST_BOX(w)) {
        GtkListBoxRow* row = index >= 0 ? gtk_list_box_get_row_at_index(GTK_LIST_BOX(w), index) : nullptr;
        gtk_list_box_select_row(GTK_LIST_BOX(w), row);
    }
}

int GtkDialogListSelection(int dialog, int control) {
    Control* c = FindControl(dialog, control);
    if (Unmade(c)) return c->shadow.selection;
    if (c == nullptr || c->widgets.empty()) return -1;
    GtkWidget* w = c->widgets[0];
    if (GTK_IS_NOTEBOOK(w)) return gtk_notebook_get_current_page(GTK_NOTEBOOK(w));
    if (GTK_IS_COMBO_BOX(w)) return gtk_combo_box_get_active(GTK_COMBO_BOX(w));
    if (GTK_IS_LIST_BOX(w)) {
        GtkListBoxRow* row = gtk_list_box_get_selected_row(GTK_LIST_BOX(w));
        return row != nullptr ? gtk_list_box_row_get_index(row) : -1;
    }
    return -1;
}

int GtkDialogListCount(int dialog, int control) {
    Control* c = FindControl(dialog, control);
    if (Unmade(c)) return c->shadow.ListCount();
    if (c == nullptr || c->widgets.empty()) return 0;
    GtkWidget* w = c->widgets[0];
    if (GTK_IS_NOTEBOOK(w)) return c->labelledPages;
    if (GTK_IS_COMBO_BOX(w)) return gtk_tree_model_iter_n_children(gtk_combo_box_get_model(GTK_COMBO_BOX(w)), nullptr);
    if (GTK_IS_LIST_BOX(w)) {
        GList* rows = gtk_container_get_children(GTK_CONTAINER(w));
        const int count = static_cast<int>(g_list_length(rows));
        g_list_free(rows);
        return count;
    }
    return 0;
}

int GtkDialogListGetText(int dialog, int control, int index, char* out, int size) {
    Control* c = FindControl(dialog, control);
    if (Unmade(c)) return CopyText(c->shadow.ListText(index), out, size);
    const char* text = nullptr;
    gchar* owned = nullptr;
    if (c != nullptr && !c->widgets.empty() && index >= 0 && index < GtkDialogListCount(dialog, control)) {
        GtkWidget* w = c->widgets[0];
        if (GTK_IS_NOTEBOOK(w)) {
            text = gtk_notebook_get_tab_label_text(GTK_NOTEBOOK(w), gtk_notebook_get_nth_page(GTK_NOTEBOOK(w), index));
        } else if (GTK_IS_COMBO_BOX(w)) {
            GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(w));
            GtkTreeIter iter;
            if (gtk_tree_model_iter_nth_child(model, &iter, nullptr, index)) {
                gtk_tree_model_get(model, &iter, 0, &owned, -1);
            }
            text = owned;
        } else if (GTK_IS_LIST_BOX(w)) {
            GtkWidget* label = gtk_bin_get_child(GTK_BIN(gtk_list_box_get_row_at_index(GTK_LIST_BOX(w), index)));
            if (GTK_IS_LABEL(label)) text = gtk_label_get_text(GTK_LABEL(label));
        }
    }
    const int length = CopyText(text != nullptr ? text : "", out, size);
    g_free(owned);
    return length;
}

void GtkDialogFitDropDown(int dialog, int control, int limit) {
    Control* c = FindControl(dialog, control);
    if (c == nullptr) return;
    if (c->unmadePages != 0) c->shadow.dropDownLimit = limit;
    for (GtkWidget* w : c->widgets) {
        if (GTK_IS_COMBO_BOX(w)) GtkFitDropDown(GTK_COMBO_BOX(w), limit);
    }
}

void GtkDialogSetImage(int dialog, int control, int bitmapId) {
    Control* c = FindControl(dialog, control);
    if (c == nullptr) return;
    if (c->unmadePages != 0) c->shadow.image = bitmapId;
    cairo_surface_t* surface = DrawBitmap(bitmapId);
    for (GtkWidget* w : c->widgets) {
        GtkImage* image = ImageOf(w);
        if (image == nullptr) continue;
        if (surface != nullptr) gtk_image_set_from_surface(image, surface);
        else gtk_image_clear(image);
    }
    if (surface != nullptr) cairo_surface_destroy(surface);
}

void GtkDialogSetPosition(int dialog, int control, int position) {
    Control* c = FindMadeControl(dialog, control);
    if (c == nullptr) return;
    Quiet quiet;
    for (GtkWidget* w : c->widgets) {
        if (GTK_IS_SCALE(w)) gtk_range_set_value(GTK_RANGE(w), position);
    }
}

int GtkDialogGetPosition(int dialog, int control) {
    Control* c = FindMadeControl(dialog, control);
    if (c == nullptr || c->widgets.empty() || !GTK_IS_SCALE(c->widgets[0])) return 0;
    return static_cast<int>(gtk_range_get_value(GTK_RANGE(c->widgets[0])) + 0.5);
}
