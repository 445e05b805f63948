// Dialogs built from their descriptions. A control may sit on several pages of a tab
// strip; GTK gives a widget one parent, so such a control has one widget per page and
// every call acts on all of them. Descriptions with positions are placed by dialog units,
// the others in a grid per tab page and the dialog's own grid below.
#include "platform/gtk/dialog.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gtk/dialogs.h"

using namespace gtkdialogs;

namespace {

const int kSliderTop = 3;  // the last position of a slider

// Dialog units: about a quarter of the average character width and an eighth of its
// height in the default font.
int UnitsToPixelsX(int units) { return units * 3 / 2; }
int UnitsToPixelsY(int units) { return units * 13 / 8; }

void OnToggled(GtkToggleButton* button, gpointer data) {
    // An option button reports being chosen, not the one it replaced losing its mark.
    if (GTK_IS_RADIO_BUTTON(button) && !gtk_toggle_button_get_active(button)) return;
    const Source* source = static_cast<Source*>(data);
    // A box on several pages is one control: its other pages follow the one clicked
    // before the core reads it.
    if (gQuiet == 0 && !GTK_IS_RADIO_BUTTON(button)) {
        GtkDialogCheck(source->dialog, source->control, gtk_toggle_button_get_active(button));
    }
    Notify(source);
}

gboolean OnFocusOut(GtkWidget*, GdkEvent*, gpointer data) {
    const Source* changed = static_cast<Source*>(data);
    const Source other = {changed->dialog, changed->control, NOTIFY_OTHER};
    Notify(&other);
    return FALSE;
}

// A link is opened by the core, which then marks it visited.
gboolean OnActivateLink(GtkLinkButton*, gpointer data) {
    Notify(static_cast<Source*>(data));
    return TRUE;
}

// The link colours the program has always drawn, whatever the theme's: blue until
// opened, purple after.
void AddLinkColours() {
    static bool added = false;
    if (added) return;
    added = true;
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css,
                                    "button.link.kelmor label { color: rgb(0, 0, 255); }"
                                    "button.link.kelmor:visited label { color: rgb(128, 0, 128); }",
                                    -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
}

// A text of several lines, scrolled: read-only (the Legal Agreement's licence) or a field
// where Enter makes a new line and Tab, as in every other field, moves on.
GtkWidget* NewMultilineText(bool editable) {
    GtkWidget* view = gtk_text_view_new();
    gtk_text_view_set_editable(GTK_TEXT_VIEW(view), editable ? TRUE : FALSE);
    gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(view), editable ? TRUE : FALSE);
    gtk_text_view_set_accepts_tab(GTK_TEXT_VIEW(view), FALSE);
    gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), editable ? GTK_WRAP_WORD_CHAR : GTK_WRAP_WORD);
    gtk_text_view_set_left_margin(GTK_TEXT_VIEW(view), 4);
    gtk_text_view_set_right_margin(GTK_TEXT_VIEW(view), 4);
    GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
    // The text takes the focus, not its frame.
    gtk_widget_set_can_focus(scrolled, FALSE);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled), GTK_SHADOW_IN);
    if (editable) {
        // As wide as a one-line field, three lines high.
        gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
        gtk_widget_set_size_request(scrolled, 200, 58);
    } else {
        // Small enough for a dialog that fits a 1280-pixel screen at twice the scale.
        gtk_widget_set_size_request(scrolled, 480, 300);
        gtk_widget_set_vexpand(scrolled, TRUE);
    }
    gtk_widget_set_hexpand(scrolled, TRUE);
    gtk_container_add(GTK_CONTAINER(scrolled), view);
    return scrolled;
}

void OnBufferChanged(GtkTextBuffer*, gpointer data) { Notify(static_cast<Source*>(data)); }

void OnPageSwitched(GtkNotebook*, GtkWidget*, guint, gpointer data) { Notify(static_cast<Source*>(data)); }

void OnDigitsOnly(GtkEditable* editable, const gchar* text, gint length, gint*, gpointer) {
    for (gint i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            g_signal_stop_emission_by_name(editable, "insert-text");
            gtk_widget_error_bell(GTK_WIDGET(editable));
            return;
        }
    }
}

// The repeat count's arrows are text: the theme's arrow icons would make GTK read the
// whole icon theme at start-up for two small triangles, and a label greys with its button.
GtkWidget* ArrowButton(bool up, int dialog, int control, int notification) {
    GtkWidget* button = gtk_button_new_with_label(up ? "\u25B4" : "\u25BE");
    atk_object_set_name(gtk_widget_get_accessible(button), up ? "Increase" : "Decrease");
    // As narrow as the icon buttons they stand for.
    gtk_style_context_add_class(gtk_widget_get_style_context(button), "image-button");
    gtk_widget_set_can_focus(button, FALSE);
    g_signal_connect(button, "clicked", G_CALLBACK(OnClicked), NewSource(button, dialog, control, notification));
    return button;
}

void NoFocus(GtkWidget* w, gpointer) {
    if (GTK_IS_TOGGLE_BUTTON(w)) gtk_widget_set_can_focus(w, FALSE);
    else if (GTK_IS_BOX(w)) gtk_container_forall(GTK_CONTAINER(w), NoFocus, nullptr);
}

// A field's own text changes are no choice from its list.
void OnEntryComboChanged(GtkComboBox* combo, gpointer data) {
    if (gtk_combo_box_get_active(combo) >= 0) Notify(static_cast<Source*>(data));
}

// A slider moved by a person, not by the program.
void OnSliderMoved(GtkRange*, gpointer data) { Notify(static_cast<Source*>(data)); }

// A vertical GTK scale has its lowest value at the top already, as the control has position
// 0; the text's lines are the marks from the top. No part of the trough is filled: no level
// is more "on" than another.
GtkWidget* NewSlider(const ControlDescription& c, int dialog) {
    GtkWidget* w = gtk_scale_new_with_range(GTK_ORIENTATION_VERTICAL, 0, kSliderTop, 1);
    gtk_scale_set_has_origin(GTK_SCALE(w), FALSE);
    gtk_range_set_increments(GTK_RANGE(w), 1, 1);
    gtk_range_set_round_digits(GTK_RANGE(w), 0);
    gtk_scale_set_draw_value(GTK_SCALE(w), FALSE);
    gchar** marks = g_strsplit(c.text, "\n", kSliderTop + 1);
    for (int i = 0; marks[i] != nullptr; ++i) {
        gchar* markup = g_markup_escape_text(marks[i], -1);
        gtk_scale_add_mark(GTK_SCALE(w), i, GTK_POS_RIGHT, markup);
        g_free(markup);
    }
    g_strfreev(marks);
    gtk_widget_set_size_request(w, -1, 160);
    gtk_widget_set_halign(w, GTK_ALIGN_START);
    g_signal_connect(w, "value-changed", G_CALLBACK(OnSliderMoved), NewSource(w, dialog, c.id, NOTIFY_CHANGED));
    return w;
}

// One widget of a control, with its signals.
GtkWidget* MakeWidget(const ControlDescription& c, int dialog, GtkWidget** group) {
    const std::string label = GtkMnemonicText(c.text);
    GtkWidget* w = nullptr;
    switch (c.kind) {
        case CONTROL_LINK:
            AddLinkColours();
            w = gtk_link_button_new_with_label(c.text[0] != '\0' ? c.text : " ", c.text);
            gtk_style_context_add_class(gtk_widget_get_style_context(w), "kelmor");
            gtk_widget_set_halign(w, GTK_ALIGN_START);
            g_signal_connect(w, "activate-link", G_CALLBACK(OnActivateLink),
                             NewSource(w, dialog, c.id, NOTIFY_CLICKED));
            break;
        case CONTROL_STATIC: {
            if ((c.flags & CONTROL_MULTILINE) != 0) {
                w = NewMultilineText(false);
                break;
            }
            w = strchr(c.text, '&') != nullptr ? gtk_label_new_with_mnemonic(label.c_str()) : gtk_label_new(c.text);
            const bool centred = (c.flags & CONTROL_CENTER) != 0;
            gtk_label_set_xalign(GTK_LABEL(w), (c.flags & CONTROL_RIGHT) != 0 ? 1.0f : centred ? 0.5f : 0.0f);
            if (centred) {
                // Centred in the whole width the dialog gives it, not in its own text's.
                gtk_label_set_justify(GTK_LABEL(w), GTK_JUSTIFY_CENTER);
                gtk_widget_set_hexpand(w, TRUE);
            }
            if ((c.flags & CONTROL_BOLD) != 0) {
                PangoAttrList* bold = pango_attr_list_new();
                pango_attr_list_insert(bold, pango_attr_weight_new(PANGO_WEIGHT_BOLD));
                gtk_label_set_attributes(GTK_LABEL(w), bold);
                pango_attr_list_unref(bold);
            }
            // A long status wraps instead of widening the window or being cut off; so does a
            // long label, which would make a dialog wider than a screen at twice the scale.
            gtk_label_set_line_wrap(GTK_LABEL(w), TRUE);
            gtk_label_set_max_width_chars(GTK_LABEL(w), strlen(c.text) > 40 ? 24 : 40);
            // A status that changes as the window first comes up would otherwise be measured
            // at its narrowest, a word a line, and leave the window that much too tall.
            if (centred) gtk_label_set_width_chars(GTK_LABEL(w), 40);
            break;
        }
        case CONTROL_BUTTON:
            w = gtk_button_new_with_mnemonic(label.c_str());
            g_signal_connect(w, "clicked", G_CALLBACK(OnClicked), NewSource(w, dialog, c.id, NOTIFY_CLICKED));
            break;
        case CONTROL_CHECK_BOX:
            w = gtk_check_button_new_with_mnemonic(label.c_str());
            g_signal_connect(w, "toggled", G_CALLBACK(OnToggled), NewSource(w, dialog, c.id, NOTIFY_CLICKED));
            break;
        case CONTROL_OPTION:
            if ((c.flags & CONTROL_GROUP) != 0) *group = nullptr;
            w = gtk_radio_button_new_with_mnemonic_from_widget(*group != nullptr ? GTK_RADIO_BUTTON(*group) : nullptr,
                                                               label.c_str());
            *group = w;
            g_signal_connect(w, "toggled", G_CALLBACK(OnToggled), NewSource(w, dialog, c.id, NOTIFY_CLICKED));
            break;
        case CONTROL_EDIT: {
            if ((c.flags & CONTROL_MULTILINE) != 0) {
                w = NewMultilineText(true);
                GtkTextBuffer* buffer = MultilineBuffer(w);
                gtk_text_buffer_set_text(buffer, c.text, -1);
                g_signal_connect(buffer, "changed", G_CALLBACK(OnBufferChanged),
                                 NewSource(w, dialog, c.id, NOTIFY_CHANGED));
                break;
            }
            w = gtk_entry_new();
            // Enter in a field presses the dialog's default button.
            gtk_entry_set_activates_default(GTK_ENTRY(w), TRUE);
            gtk_entry_set_text(GTK_ENTRY(w), c.text);
            if ((c.flags & CONTROL_RIGHT) != 0) gtk_entry_set_alignment(GTK_ENTRY(w), 1.0f);
            if ((c.flags & CONTROL_NUMBER) != 0) {
                gtk_entry_set_input_purpose(GTK_ENTRY(w), GTK_INPUT_PURPOSE_DIGITS);
                gtk_entry_set_width_chars(GTK_ENTRY(w), 7);
                g_signal_connect(w, "insert-text", G_CALLBACK(OnDigitsOnly), nullptr);
            }
            Source* changed = NewSource(w, dialog, c.id, NOTIFY_CHANGED);
            g_signal_connect(w, "changed", G_CALLBACK(OnClicked), changed);
            g_signal_connect(w, "focus-out-event", G_CALLBACK(OnFocusOut), changed);
            break;
        }
        case CONTROL_SPIN:
            w = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
            gtk_style_context_add_class(gtk_widget_get_style_context(w), "linked");
            gtk_box_pack_start(GTK_BOX(w), ArrowButton(true, dialog, c.id, NOTIFY_SPIN_UP), TRUE, TRUE, 0);
            gtk_box_pack_start(GTK_BOX(w), ArrowButton(false, dialog, c.id, NOTIFY_SPIN_DOWN), TRUE,
                               TRUE, 0);
            break;
        case CONTROL_LIST:
            w = gtk_list_box_new();
            g_signal_connect(w, "selected-rows-changed", G_CALLBACK(OnClicked),
                             NewSource(w, dialog, c.id, NOTIFY_CHANGED));
            break;
        case CONTROL_COMBO:
            if ((c.flags & CONTROL_ENTRY) != 0) {
                w = gtk_combo_box_text_new_with_entry();
                // Pasting, dropping or deleting would go round the procedure, which alone decides
                // what the field holds.
                GtkWidget* entry = gtk_bin_get_child(GTK_BIN(w));
                g_signal_connect(entry, "insert-text", G_CALLBACK(OnEntryInsert), nullptr);
                g_signal_connect(entry, "delete-text", G_CALLBACK(OnEntryDelete), nullptr);
                g_signal_connect(w, "changed", G_CALLBACK(OnEntryComboChanged),
                                 NewSource(w, dialog, c.id, NOTIFY_CHANGED));
                // The field is the control: Alt+Down opens the list from it, and Tab goes
                // on to the next control rather than to the arrow, which a screen reader
                // does not find. A field that takes every key leaves the arrow as the way to
                // its list.
                if ((c.flags & CONTROL_ALL_KEYS) == 0) gtk_container_forall(GTK_CONTAINER(w), NoFocus, nullptr);
            } else {
                w = gtk_combo_box_text_new();
                g_signal_connect(w, "changed", G_CALLBACK(OnClicked), NewSource(w, dialog, c.id, NOTIFY_CHANGED));
            }
            break;
        case CONTROL_PICTURE:
            w = NewPicture(c, dialog);
            break;
        case CONTROL_GADGET:
            w = NewGadget(c, dialog);
            break;
        case CONTROL_SLIDER:
            w = NewSlider(c, dialog);
            break;
        default:
            break;
    }
    return w;
}

const char kNamed[] = "kelmor-named";

// The theme's tabs are padded for a few large pages: five names of Advanced Options would
// make it wider than a 1280-pixel screen at twice the scale.
void NarrowTabs(GtkWidget* notebook) {
    static GtkCssProvider* css = nullptr;
    if (css == nullptr) {
        css = gtk_css_provider_new();
        gtk_css_provider_load_from_data(
            css, "notebook > header > tabs > tab { padding-left: 7px; padding-right: 7px; }", -1, nullptr);
    }
    gtk_style_context_add_provider(gtk_widget_get_style_context(notebook), GTK_STYLE_PROVIDER(css),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

// A tool tip; the control's name too where no label gave it one. A tab strip would show
// its tip over every page: it is named only.
void AddTip(GtkWidget* w, const char* text) {
    GtkWidget* field = FocusTarget(w);
    if (!GTK_IS_NOTEBOOK(w)) {
        gtk_widget_set_tooltip_text(w, text);
        if (field != w) gtk_widget_set_tooltip_text(field, text);
    }
    if (g_object_get_data(G_OBJECT(field), kNamed) == nullptr) {
        atk_object_set_name(gtk_widget_get_accessible(field), text);
    }
}

// A widget waiting for its grid cell.
struct Cell {
    GtkWidget* grid;
    GtkWidget* widget;
    ControlPlace place;
};

void Place(GtkWidget* container, GtkWidget* w, const ControlPlace& place, std::vector<Cell>* cells) {
    if (GTK_IS_FIXED(container)) {
        gtk_widget_set_size_request(w, UnitsToPixelsX(place.w), UnitsToPixelsY(place.h));
        gtk_fixed_put(GTK_FIXED(container), w, UnitsToPixelsX(place.x), UnitsToPixelsY(place.y));
    } else {
        cells->push_back({container, w, place});
    }
}

// A grid lists its children (to a screen reader too) last attached first: attached from
// the last row and column back, they read in the order a person sees them. A control alone
// in its row spans the columns, rather than widening the first one for every row.
void AttachCells(std::vector<Cell>* cells) {
    std::stable_sort(cells->begin(), cells->end(), [](const Cell& a, const Cell& b) {
        return a.place.row != b.place.row ? a.place.row > b.place.row : a.place.column > b.place.column;
    });
    for (const Cell& c : *cells) {
        int inRow = 0, columns = 1;
        for (const Cell& other : *cells) {
            if (other.grid != c.grid) continue;
            if (other.place.row == c.place.row) ++inRow;
            if (other.place.column + 1 > columns) columns = other.place.column + 1;
        }
        const int span = inRow == 1 && c.place.column == 0 ? columns : 1;
        gtk_grid_attach(GTK_GRID(c.grid), c.widget, c.place.column, c.place.row, span, 1);
    }
}

const char* (*gWording)(const char*) = nullptr;

}  // namespace

namespace gtkdialogs {

GtkTextBuffer* MultilineBuffer(GtkWidget* w) {
    return gtk_text_view_get_buffer(GTK_TEXT_VIEW(gtk_bin_get_child(GTK_BIN(w))));
}

// The widget of a control that takes the keyboard focus: a drop-down list's field, a text
// of several lines' view, or the widget itself.
GtkWidget* FocusTarget(GtkWidget* w) {
    if (GTK_IS_COMBO_BOX(w) && gtk_combo_box_get_has_entry(GTK_COMBO_BOX(w))) return gtk_bin_get_child(GTK_BIN(w));
    if (GTK_IS_SCROLLED_WINDOW(w)) return gtk_bin_get_child(GTK_BIN(w));
    return w;
}

GtkWidget* NewPage(bool positioned) {
    if (positioned) return gtk_fixed_new();
    GtkWidget* grid = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(grid), 4);
    gtk_grid_set_column_spacing(GTK_GRID(grid), 8);
    gtk_container_set_border_width(GTK_CONTAINER(grid), 8);
    return grid;
}

namespace {

const int kGrid = -1;  // the dialog's own grid, as a place of MakeControls

const char* TipOf(const DialogDescription* description, int id) {
    for (int i = 0; i < description->tipCount && description->tips != nullptr; ++i) {
        if (description->tips[i].id == id) return description->tips[i].text;
    }
    return nullptr;
}

// Makes the controls of one place, a tab page or the dialog's own grid, into container;
// the widgets made, with the index of their control. A label's mnemonic moves the focus to
// the field right after it, and names it to a screen reader.
std::vector<std::pair<size_t, GtkWidget*>> MakeControls(Dialog* d, int page, GtkWidget* container) {
    const DialogDescription* description = d->description;
    std::vector<std::pair<size_t, GtkWidget*>> made;
    std::vector<Cell> cells;
    GtkWidget* group = nullptr;
    GtkWidget* pendingLabel = nullptr;
    for (size_t i = 0; i < d->controls.size(); ++i) {
        const ControlDescription& c = description->controls[i];
        const Control& control = d->controls[i];
        const bool here = page == kGrid ? control.pages == 0 && c.kind != CONTROL_TABS && c.kind != CONTROL_FRAME
                                        : (control.pages >> page & 1) != 0;
        GtkWidget* w = here ? MakeWidget(c, d->id, &group) : nullptr;
        if (w != nullptr) {
            Place(container, w, c.place, &cells);
            made.emplace_back(i, w);
        }
        const bool labelled = c.kind == CONTROL_EDIT || c.kind == CONTROL_COMBO || c.kind == CONTROL_LIST ||
                              c.kind == CONTROL_SLIDER;
        if (pendingLabel != nullptr && GTK_IS_LABEL(pendingLabel) && w != nullptr && labelled) {
            GtkWidget* field = FocusTarget(w);
            gtk_label_set_mnemonic_widget(GTK_LABEL(pendingLabel), field);
            atk_object_set_name(gtk_widget_get_accessible(field), gtk_label_get_text(GTK_LABEL(pendingLabel)));
            g_object_set_data(G_OBJECT(field), kNamed, field);
        }
        pendingLabel = c.kind == CONTROL_STATIC ? w : nullptr;
    }
    AttachCells(&cells);
    for (const auto& [index, w] : made) {
        if (const char* tip = TipOf(description, d->controls[index].id)) AddTip(w, tip);
    }
    return made;
}

// Gives a control's new widget what was set on the control before it was made, through
// the calls that set it, acting on the new widget alone.
void TakeOnShadow(Dialog* d, Control* c, GtkWidget* w, unsigned stillUnmade) {
    const ControlShadow shadow = c->shadow;
    std::vector<GtkWidget*> made;
    made.swap(c->widgets);
    c->widgets.push_back(w);
    c->unmadePages = 0;  // nothing is kept while the widget takes it on
    for (const std::string& item : shadow.items) GtkDialogListAdd(d->id, c->id, item.c_str());
    if (shadow.dropDownLimit) GtkDialogFitDropDown(d->id, c->id, *shadow.dropDownLimit);
    if (shadow.selection >= 0) GtkDialogListSelect(d->id, c->id, shadow.selection);
    if (shadow.text) GtkDialogSetText(d->id, c->id, shadow.text->c_str());
    if (shadow.checked) GtkDialogCheck(d->id, c->id, *shadow.checked);
    if (shadow.enabled) GtkDialogEnable(d->id, c->id, *shadow.enabled);
    if (shadow.shown) GtkDialogShow(d->id, c->id, *shadow.shown);
    if (shadow.image) GtkDialogSetImage(d->id, c->id, *shadow.image);
    made.push_back(w);
    c->widgets.swap(made);
    c->unmadePages = stillUnmade;
    if (stillUnmade == 0) c->shadow = ControlShadow{};
}

// Makes a page before the tab strip shows it.
void OnPageSwitching(GtkNotebook*, GtkWidget*, guint page, gpointer dialog) {
    if (Dialog* d = FindDialog(GPOINTER_TO_INT(dialog))) MakePage(d, static_cast<int>(page));
}

}  // namespace

// Builds the dialog's widgets into a box: a tab strip's pages hold the controls that
// belong to them, every other control goes on the dialog's own grid.
Dialog* Build(const DialogDescription* description, DialogProc proc, bool laterPages) {
    auto* d = new Dialog{};
    d->id = description->id;
    d->proc = proc;
    d->description = description;
    const bool positioned = description->width > 0;
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
    GtkWidget* grid = NewPage(positioned);
    int pageCount = 0;
    for (int i = 0; i < description->controlCount; ++i) {
        for (int page = 0; page < 8; ++page) {
            if ((description->controls[i].pages >> page & 1) != 0 && page + 1 > pageCount) pageCount = page + 1;
        }
    }
    d->controls.reserve(static_cast<size_t>(description->controlCount));
    for (int i = 0; i < description->controlCount; ++i) {
        const ControlDescription& c = description->controls[i];
        Control control{};
        control.id = c.id;
        control.kind = c.kind;
        control.flags = c.flags;
        if (c.kind == CONTROL_TABS) {
            d->notebook = gtk_notebook_new();
            NarrowTabs(d->notebook);
            for (int page = 0; page < pageCount; ++page) {
                d->pages.push_back(NewPage(positioned));
                gtk_notebook_append_page(GTK_NOTEBOOK(d->notebook), d->pages.back(), gtk_label_new(""));
            }
            g_signal_connect(d->notebook, "switch-page", G_CALLBACK(OnPageSwitching), GINT_TO_POINTER(d->id));
            g_signal_connect_after(d->notebook, "switch-page", G_CALLBACK(OnPageSwitched),
                                   NewSource(d->notebook, d->id, c.id, NOTIFY_CHANGED));
            gtk_box_pack_start(GTK_BOX(box), d->notebook, TRUE, TRUE, 0);
            control.widgets.push_back(d->notebook);
            if (const char* tip = TipOf(description, c.id)) AddTip(d->notebook, tip);
        } else if (c.kind != CONTROL_FRAME && c.pages != 0 && d->notebook != nullptr) {
            control.pages = control.unmadePages = c.pages & ((1u << pageCount) - 1);
        }
        // A frame is a blank area behind the others: a GTK layout draws its own background.
        d->controls.push_back(control);
    }
    for (const auto& [index, w] : MakeControls(d, kGrid, grid)) d->controls[index].widgets.push_back(w);
    for (int page = 0; page < pageCount; ++page) d->unmadePages |= 1u << page;
    if (!laterPages) {
        for (int page = 0; page < pageCount; ++page) MakePage(d, page);
    }
    gtk_box_pack_start(GTK_BOX(box), grid, FALSE, FALSE, 0);
    gtk_widget_show_all(box);
    d->top = box;
    gDialogs.push_back(d);
    return d;
}

void MakePage(Dialog* d, int page) {
    if (page < 0 || static_cast<size_t>(page) >= d->pages.size() || (d->unmadePages >> page & 1) == 0) return;
    d->unmadePages &= ~(1u << page);
    const auto made = MakeControls(d, page, d->pages[static_cast<size_t>(page)]);
    gtk_widget_show_all(d->pages[static_cast<size_t>(page)]);
    for (const auto& [index, w] : made) {
        Control* c = &d->controls[index];
        TakeOnShadow(d, c, w, c->unmadePages & ~(1u << page));
    }
}

Control* FindMadeControl(int dialog, int control) {
    Control* c = FindControl(dialog, control);
    if (c == nullptr || c->unmadePages == 0) return c;
    Dialog* d = FindDialog(dialog);
    for (int page = 0; c->unmadePages != 0 && page < 32; ++page) {
        if ((c->unmadePages >> page & 1) != 0) MakePage(d, page);
    }
    return c;
}

}  // namespace gtkdialogs

void GtkSetWording(const char* (*wording)(const char* text)) { gWording = wording; }

std::string GtkMnemonicText(const char* text) {
    std::string out;
    if (gWording != nullptr) text = gWording(text);
    for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
        if (*p == '&' && p[1] == '&') {
            out += '&';
            ++p;
        } else if (*p == '&') {
            out += '_';
        } else if (*p == '_') {
            out += "__";
        } else {
            out += *p;
        }
    }
    return out;
}
