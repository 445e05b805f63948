// Dialogs built from their descriptions. A control may sit on several pages of a tab
// strip; GTK gives a widget one parent, so such a control has one widget per page and
// every call acts on all of them.
#include "platform/gtk/dialog.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gtk/drop_down.h"
#include "platform/gtk/pictures.h"
#include "platform/x11/keymap.h"
#include "platform/wintypes.h"

namespace {

struct Control {
    int id;
    ControlKind kind;
    uint16_t flags;
    std::vector<GtkWidget*> widgets;
    int labelledPages;  // tab strips: the pages named so far by DialogListAdd
};

struct Dialog {
    int id;
    DialogProc proc;
    std::vector<Control> controls;
    GtkWidget* top;     // the dialog window, or the child dialog's own box
    GMainLoop* loop;    // while a modal dialog runs
    int result;
};

std::vector<Dialog*> gDialogs;
GtkWidget* gChildHome = nullptr;
// Set while the core changes a control: like the controls it was written for, a change
// made by the program is not reported back as a person's.
int gQuiet = 0;

struct Quiet {
    Quiet() { ++gQuiet; }
    ~Quiet() { --gQuiet; }
};

const int kSliderTop = 3;  // the last position of a slider

// Dialog units: about a quarter of the average character width and an eighth of its
// height in the default font.
int UnitsToPixelsX(int units) { return units * 3 / 2; }
int UnitsToPixelsY(int units) { return units * 13 / 8; }

Dialog* FindDialog(int dialog) {
    for (Dialog* d : gDialogs) {
        if (d->id == dialog) return d;
    }
    return nullptr;
}

Control* FindControl(int dialog, int control) {
    Dialog* d = FindDialog(dialog);
    if (d == nullptr) return nullptr;
    for (Control& c : d->controls) {
        if (c.id == control) return &c;
    }
    return nullptr;
}

// What the signal handlers need to tell the core.
struct Source {
    int dialog;
    int control;
    int notification;
};

void Notify(const Source* source) {
    if (gQuiet > 0) return;
    Dialog* d = FindDialog(source->dialog);
    if (d != nullptr && d->proc != nullptr) d->proc(d->id, DIALOG_COMMAND, source->control, source->notification);
}

Source* NewSource(GtkWidget* widget, int dialog, int control, int notification) {
    auto* source = new Source{dialog, control, notification};
    g_object_set_data_full(G_OBJECT(widget), notification == NOTIFY_SPIN_DOWN ? "down" : "source", source,
                           [](gpointer p) { delete static_cast<Source*>(p); });
    return source;
}

void OnClicked(GtkWidget*, gpointer data) { Notify(static_cast<Source*>(data)); }

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

gboolean OnPicturePressed(GtkWidget*, GdkEventButton* event, gpointer data) {
    if (event->button == 1) Notify(static_cast<Source*>(data));
    return FALSE;
}

// Pictures that act when clicked show the hand, as links do. A button has no window of its
// own: the hand goes on the input window it keeps over itself.
void ShowHand(GtkWidget* w, gpointer) {
    GdkWindow* window = gtk_widget_get_window(w);
    if (window == nullptr) return;
    GdkCursor* hand = gdk_cursor_new_from_name(gtk_widget_get_display(w), "pointer");
    if (gtk_widget_get_has_window(w)) {
        gdk_window_set_cursor(window, hand);
    } else {
        for (GList* l = gdk_window_peek_children(window); l != nullptr; l = l->next) {
            gpointer owner = nullptr;
            gdk_window_get_user_data(GDK_WINDOW(l->data), &owner);
            if (owner == w) gdk_window_set_cursor(GDK_WINDOW(l->data), hand);
        }
    }
    if (hand != nullptr) g_object_unref(hand);
}

// The picture holding the pointer (DialogCapturePointer), and who is told of it.
GtkWidget* gCapturer = nullptr;
Source gCapture;

void EndCapture() {
    if (gCapturer == nullptr) return;
    gdk_seat_ungrab(gdk_display_get_default_seat(gtk_widget_get_display(gCapturer)));
    gCapturer = nullptr;
}

void ReportCapture(GtkWidget* w, int notification) {
    if (w != gCapturer) return;
    const Source source = {gCapture.dialog, gCapture.control, notification};
    // The core gives the pointer back on a release; a hold lost on the way ends here too.
    if (notification == NOTIFY_POINTER_RELEASED) EndCapture();
    Notify(&source);
}

gboolean OnCaptureMotion(GtkWidget* w, GdkEventMotion*, gpointer) {
    ReportCapture(w, NOTIFY_POINTER_MOVED);
    return FALSE;
}

gboolean OnCaptureReleased(GtkWidget* w, GdkEventButton* event, gpointer) {
    if (event->button == 1) ReportCapture(w, NOTIFY_POINTER_RELEASED);
    return FALSE;
}

// The hold taken from the picture: another grab, or its window no longer on the screen.
// The press's own implicit hold handed to the picture is no loss.
gboolean OnCaptureBroken(GtkWidget* w, GdkEventGrabBroken* event, gpointer) {
    if (!event->implicit && event->grab_window != gtk_widget_get_window(w)) ReportCapture(w, NOTIFY_POINTER_RELEASED);
    return FALSE;
}

void OnCaptureUnmapped(GtkWidget* w, gpointer) { ReportCapture(w, NOTIFY_POINTER_RELEASED); }

GtkWidget* NewPicture(const ControlDescription& c, int dialog) {
    GtkWidget* w = gtk_event_box_new();
    gtk_container_add(GTK_CONTAINER(w), gtk_image_new());
    g_signal_connect(w, "realize", G_CALLBACK(ShowHand), nullptr);
    Source* source = NewSource(w, dialog, c.id, NOTIFY_CLICKED);
    g_signal_connect(w, "button-press-event", G_CALLBACK(OnPicturePressed), source);
    // Reported only while the picture holds the pointer.
    gtk_widget_add_events(w, GDK_POINTER_MOTION_MASK | GDK_BUTTON_RELEASE_MASK);
    g_signal_connect(w, "motion-notify-event", G_CALLBACK(OnCaptureMotion), nullptr);
    g_signal_connect(w, "button-release-event", G_CALLBACK(OnCaptureReleased), nullptr);
    g_signal_connect(w, "grab-broken-event", G_CALLBACK(OnCaptureBroken), nullptr);
    g_signal_connect(w, "unmap", G_CALLBACK(OnCaptureUnmapped), nullptr);
    return w;
}

// A gadget is a flat push button showing its picture: it takes the focus in its turn, shows
// the focus ring, acts on Space and Enter and on a release over it, and its tool tip is its
// name to a screen reader.
GtkWidget* NewGadget(const ControlDescription& c, int dialog) {
    GtkWidget* w = gtk_button_new();
    gtk_button_set_relief(GTK_BUTTON(w), GTK_RELIEF_NONE);
    gtk_button_set_image(GTK_BUTTON(w), gtk_image_new());
    gtk_button_set_always_show_image(GTK_BUTTON(w), TRUE);
    gtk_style_context_add_class(gtk_widget_get_style_context(w), "image-button");
    gtk_widget_set_tooltip_text(w, c.text);
    atk_object_set_name(gtk_widget_get_accessible(w), c.text);
    gtk_widget_set_halign(w, GTK_ALIGN_START);
    gtk_widget_set_valign(w, GTK_ALIGN_CENTER);
    g_signal_connect_after(w, "realize", G_CALLBACK(ShowHand), nullptr);
    g_signal_connect(w, "clicked", G_CALLBACK(OnClicked), NewSource(w, dialog, c.id, NOTIFY_CLICKED));
    return w;
}

// The image a picture or gadget shows.
GtkImage* ImageOf(GtkWidget* w) {
    GtkWidget* image = GTK_IS_BUTTON(w) ? gtk_button_get_image(GTK_BUTTON(w)) : GTK_IS_EVENT_BOX(w) ? gtk_bin_get_child(GTK_BIN(w)) : nullptr;
    return image != nullptr && GTK_IS_IMAGE(image) ? GTK_IMAGE(image) : nullptr;
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

GtkTextBuffer* MultilineBuffer(GtkWidget* w) {
    return gtk_text_view_get_buffer(GTK_TEXT_VIEW(gtk_bin_get_child(GTK_BIN(w))));
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

// Only the procedure's own changes reach a field it edits.
void OnEntryInsert(GtkEditable* entry, gchar*, gint, gint*, gpointer) {
    if (gQuiet == 0) g_signal_stop_emission_by_name(entry, "insert-text");
}

void OnEntryDelete(GtkEditable* entry, gint, gint, gpointer) {
    if (gQuiet == 0) g_signal_stop_emission_by_name(entry, "delete-text");
}

// A field's own text changes are no choice from its list.
void OnEntryComboChanged(GtkComboBox* combo, gpointer data) {
    if (gtk_combo_box_get_active(combo) >= 0) Notify(static_cast<Source*>(data));
}

// The widget of a control that takes the keyboard focus: a drop-down list's field, a text
// of several lines' view, or the widget itself.
GtkWidget* FocusTarget(GtkWidget* w) {
    if (GTK_IS_COMBO_BOX(w) && gtk_combo_box_get_has_entry(GTK_COMBO_BOX(w))) return gtk_bin_get_child(GTK_BIN(w));
    if (GTK_IS_SCROLLED_WINDOW(w)) return gtk_bin_get_child(GTK_BIN(w));
    return w;
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

// The control whose entry field has the window's focus, or nullptr.
const Control* FocusedEntry(GtkWindow* window, int* dialog) {
    GtkWidget* focus = gtk_window_get_focus(window);
    if (focus == nullptr) return nullptr;
    for (Dialog* d : gDialogs) {
        for (const Control& c : d->controls) {
            if ((c.flags & CONTROL_ENTRY) == 0) continue;
            for (GtkWidget* w : c.widgets) {
                if (gtk_bin_get_child(GTK_BIN(w)) != focus) continue;
                *dialog = d->id;
                return &c;
            }
        }
    }
    return nullptr;
}

// Before the window's mnemonics and accelerators see a key: a capture field gets every key
// with Ctrl and Alt too but for the way out of it, a filtered field the characters typed
// into it and the keys that delete.
gboolean OnWindowKeyPress(GtkWidget* window, GdkEventKey* event, gpointer) {
    int dialog = 0;
    const Control* c = FocusedEntry(GTK_WINDOW(window), &dialog);
    if (c == nullptr) return FALSE;
    const int vk = X11KeysymToVk(event->keyval);
    const uint32_t ch = gdk_keyval_to_unicode(event->keyval);
    const bool ctrl = (event->state & GDK_CONTROL_MASK) != 0;
    const bool typed = (event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) == 0 && ch >= ' ' && ch < 127;
    const bool allKeys = (c->flags & CONTROL_ALL_KEYS) != 0;
    // Ctrl+Tab and Ctrl+Shift+Tab leave a field that takes Tab, as they leave GTK's own.
    const bool tab = event->keyval == GDK_KEY_Tab || event->keyval == GDK_KEY_ISO_Left_Tab ||
                     event->keyval == GDK_KEY_KP_Tab;
    if (allKeys && ctrl && tab) {
        const bool back = event->keyval == GDK_KEY_ISO_Left_Tab || (event->state & GDK_SHIFT_MASK) != 0;
        const Source left = {dialog, c->id, NOTIFY_OTHER};
        Notify(&left);
        g_signal_emit_by_name(window, "move-focus", back ? GTK_DIR_TAB_BACKWARD : GTK_DIR_TAB_FORWARD);
        return TRUE;
    }
    const bool deleting = event->keyval == GDK_KEY_Delete || event->keyval == GDK_KEY_KP_Delete;
    const bool erase = (event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) == 0 && (vk == VK_BACK || deleting);
    if (!allKeys && !typed && !erase) return FALSE;
    if (allKeys && vk != 0) {
        const Source key = {dialog, c->id, NOTIFY_KEY + vk};
        Notify(&key);
    }
    if (typed || erase) {
        const int character = typed ? static_cast<int>(ch) : vk == VK_BACK ? '\b' : 0x7F;
        const Source typedChar = {dialog, c->id, NOTIFY_CHAR + character};
        Notify(&typedChar);
    }
    return TRUE;
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
            g_signal_connect(w, "activate-link", G_CALLBACK(OnActivateLink), NewSource(w, dialog, c.id, NOTIFY_CLICKED));
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
                g_signal_connect(buffer, "changed", G_CALLBACK(OnBufferChanged), NewSource(w, dialog, c.id, NOTIFY_CHANGED));
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
        gtk_css_provider_load_from_data(css, "notebook > header > tabs > tab { padding-left: 7px; padding-right: 7px; }",
                                        -1, nullptr);
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

GtkWidget* NewPage(bool positioned) {
    if (positioned) return gtk_fixed_new();
    GtkWidget* grid = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(grid), 4);
    gtk_grid_set_column_spacing(GTK_GRID(grid), 8);
    gtk_container_set_border_width(GTK_CONTAINER(grid), 8);
    return grid;
}

// Builds the dialog's widgets into a box: a tab strip's pages hold the controls that
// belong to them, every other control goes on the dialog's own grid.
Dialog* Build(const DialogDescription* description, DialogProc proc) {
    auto* d = new Dialog{description->id, proc, {}, nullptr, nullptr, -1};
    const bool positioned = description->width > 0;
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
    GtkWidget* grid = NewPage(positioned);
    GtkWidget* notebook = nullptr;
    std::vector<GtkWidget*> pages;
    int pageCount = 0;
    for (int i = 0; i < description->controlCount; ++i) {
        for (int page = 0; page < 8; ++page) {
            if ((description->controls[i].pages >> page & 1) != 0 && page + 1 > pageCount) pageCount = page + 1;
        }
    }
    GtkWidget* group = nullptr;
    GtkWidget* pendingLabel = nullptr;
    std::vector<Cell> cells;
    for (int i = 0; i < description->controlCount; ++i) {
        const ControlDescription& c = description->controls[i];
        Control control{c.id, c.kind, c.flags, {}, 0};
        if (c.kind == CONTROL_TABS) {
            notebook = gtk_notebook_new();
            NarrowTabs(notebook);
            for (int page = 0; page < pageCount; ++page) {
                pages.push_back(NewPage(positioned));
                gtk_notebook_append_page(GTK_NOTEBOOK(notebook), pages.back(), gtk_label_new(""));
            }
            g_signal_connect_after(notebook, "switch-page", G_CALLBACK(OnPageSwitched),
                                   NewSource(notebook, d->id, c.id, NOTIFY_CHANGED));
            gtk_box_pack_start(GTK_BOX(box), notebook, TRUE, TRUE, 0);
            control.widgets.push_back(notebook);
        } else if (c.kind == CONTROL_FRAME) {
            // A blank area behind the others: a GTK layout draws its own background.
        } else if (c.pages != 0 && notebook != nullptr) {
            for (int page = 0; page < pageCount; ++page) {
                if ((c.pages >> page & 1) == 0) continue;
                GtkWidget* w = MakeWidget(c, d->id, &group);
                if (w == nullptr) continue;
                Place(pages[page], w, c.place, &cells);
                control.widgets.push_back(w);
            }
        } else {
            GtkWidget* w = MakeWidget(c, d->id, &group);
            if (w != nullptr) {
                Place(grid, w, c.place, &cells);
                control.widgets.push_back(w);
            }
        }
        // A label's mnemonic moves the focus to the field after it, and names it to a
        // screen reader.
        const bool labelled = c.kind == CONTROL_EDIT || c.kind == CONTROL_COMBO || c.kind == CONTROL_LIST ||
                              c.kind == CONTROL_SLIDER;
        if (pendingLabel != nullptr && GTK_IS_LABEL(pendingLabel) && !control.widgets.empty() && labelled) {
            GtkWidget* field = FocusTarget(control.widgets[0]);
            gtk_label_set_mnemonic_widget(GTK_LABEL(pendingLabel), field);
            atk_object_set_name(gtk_widget_get_accessible(field), gtk_label_get_text(GTK_LABEL(pendingLabel)));
            g_object_set_data(G_OBJECT(field), kNamed, field);
        }
        pendingLabel = c.kind == CONTROL_STATIC && !control.widgets.empty() ? control.widgets[0] : nullptr;
        d->controls.push_back(control);
    }
    AttachCells(&cells);
    for (int i = 0; i < description->tipCount && description->tips != nullptr; ++i) {
        const ControlTip& tip = description->tips[i];
        for (Control& c : d->controls) {
            if (c.id != tip.id) continue;
            for (GtkWidget* w : c.widgets) AddTip(w, tip.text);
        }
    }
    gtk_box_pack_start(GTK_BOX(box), grid, FALSE, FALSE, 0);
    gtk_widget_show_all(box);
    d->top = box;
    gDialogs.push_back(d);
    return d;
}

void Forget(Dialog* d) {
    for (size_t i = 0; i < gDialogs.size(); ++i) {
        if (gDialogs[i] == d) gDialogs.erase(gDialogs.begin() + static_cast<long>(i));
    }
    delete d;
}

int CopyText(const char* text, char* out, int size) {
    if (out == nullptr || size <= 0) return 0;
    if (text == nullptr) text = "";
    const int length = static_cast<int>(strnlen(text, static_cast<size_t>(size) - 1));
    memcpy(out, text, static_cast<size_t>(length));
    out[length] = '\0';
    return length;
}

// A dialog larger than the screen's work area (a large scale, a small screen) scrolls its
// pages, so that its buttons stay in reach; the frame the window manager adds is allowed for.
void FitOnScreen(GtkWidget* top) {
    const int kFrame = 48;
    GdkDisplay* display = gtk_widget_get_display(top);
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (monitor == nullptr) monitor = gdk_display_get_monitor(display, 0);
    if (monitor == nullptr) return;
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    GtkRequisition natural;
    gtk_widget_get_preferred_size(top, nullptr, &natural);
    const int width = area.width - kFrame, height = area.height - kFrame;
    if (natural.width <= width && natural.height <= height) return;
    GList* children = gtk_container_get_children(GTK_CONTAINER(top));
    GtkWidget* pages = children != nullptr ? GTK_WIDGET(children->data) : nullptr;
    g_list_free(children);
    if (pages == nullptr) return;
    GtkRequisition rest;
    gtk_widget_get_preferred_size(pages, nullptr, &rest);
    rest.height = natural.height - rest.height;
    GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_widget_set_can_focus(scrolled, FALSE);
    g_object_ref(pages);
    gtk_container_remove(GTK_CONTAINER(top), pages);
    gtk_container_add(GTK_CONTAINER(scrolled), pages);
    g_object_unref(pages);
    gtk_widget_set_size_request(scrolled, natural.width < width ? natural.width : width,
                                natural.height < height ? natural.height - rest.height : height - rest.height);
    gtk_box_pack_start(GTK_BOX(top), scrolled, TRUE, TRUE, 0);
    gtk_box_reorder_child(GTK_BOX(top), scrolled, 0);
    gtk_widget_show(scrolled);
}

gboolean OnDialogDelete(GtkWidget*, GdkEvent*, gpointer data) {
    GtkDialogEnd(static_cast<Dialog*>(data)->id, IDCANCEL);
    return TRUE;
}

const char* (*gWording)(const char*) = nullptr;
bool (*gRunFunctionKey)(guint keyval) = nullptr;

// The main window's accelerators do not reach a modal dialog; those on a function key
// alone (F1, help for this screen) act there too. Esc presses Cancel, as in every dialog;
// a dialog without one ends as cancelled.
gboolean OnModalKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
    const bool plain = (event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK | GDK_SHIFT_MASK)) == 0;
    if (plain && event->keyval == GDK_KEY_Escape) {
        const Dialog* d = static_cast<Dialog*>(data);
        for (const Control& c : d->controls) {
            if (c.id != IDCANCEL || c.widgets.empty()) continue;
            if (gtk_widget_is_sensitive(c.widgets[0])) gtk_widget_activate(c.widgets[0]);
            return TRUE;
        }
        GtkDialogEnd(d->id, IDCANCEL);
        return TRUE;
    }
    return plain && gRunFunctionKey != nullptr && gRunFunctionKey(event->keyval) ? TRUE : FALSE;
}

}  // namespace

void GtkDialogSetFunctionKeys(bool (*run)(guint keyval)) { gRunFunctionKey = run; }

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

void GtkDialogSetChildHome(GtkWidget* box) { gChildHome = box; }

bool GtkDialogCreate(const DialogDescription* description, DialogProc proc) {
    if (description == nullptr || gChildHome == nullptr || FindDialog(description->id) != nullptr) return false;
    Dialog* d = Build(description, proc);
    gtk_box_pack_start(GTK_BOX(gChildHome), d->top, TRUE, TRUE, 0);
    GtkWidget* window = gtk_widget_get_toplevel(gChildHome);
    if (GTK_IS_WINDOW(window) && g_object_get_data(G_OBJECT(window), "kelmor-keys") == nullptr) {
        g_object_set_data(G_OBJECT(window), "kelmor-keys", window);
        g_signal_connect(window, "key-press-event", G_CALLBACK(OnWindowKeyPress), nullptr);
    }
    if (proc != nullptr) proc(d->id, DIALOG_INIT, 0, 0);
    return true;
}

namespace {

// The windows of the dialogs GtkDialogRun is running, the innermost last.
std::vector<GtkWindow*> gRunning;

}  // namespace

GtkWindow* GtkRunningDialogWindow() { return gRunning.empty() ? nullptr : gRunning.back(); }

int GtkDialogRun(const DialogDescription* description, DialogProc proc) {
    if (description == nullptr || FindDialog(description->id) != nullptr) return -1;
    Dialog* d = Build(description, proc);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), description->caption);
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
    atk_object_set_role(gtk_widget_get_accessible(window), ATK_ROLE_DIALOG);
    FitOnScreen(d->top);
    gtk_container_add(GTK_CONTAINER(window), d->top);
    // Enter presses the default button, from a field too.
    for (const Control& c : d->controls) {
        if ((c.flags & CONTROL_DEFAULT) == 0 || c.widgets.empty() || !GTK_IS_BUTTON(c.widgets[0])) continue;
        gtk_widget_set_can_default(c.widgets[0], TRUE);
        gtk_window_set_default(GTK_WINDOW(window), c.widgets[0]);
    }
    g_signal_connect(window, "delete-event", G_CALLBACK(OnDialogDelete), d);
    g_signal_connect(window, "key-press-event", G_CALLBACK(OnModalKeyPress), d);
    if (proc != nullptr) proc(d->id, DIALOG_INIT, 0, 0);
    if (d->loop == nullptr && d->result == -1) {
        gtk_widget_show(window);
        d->loop = g_main_loop_new(nullptr, FALSE);
        gRunning.push_back(GTK_WINDOW(window));
        g_main_loop_run(d->loop);
        gRunning.pop_back();
        g_main_loop_unref(d->loop);
        d->loop = nullptr;
    }
    const int result = d->result;
    gtk_widget_destroy(window);
    Forget(d);
    return result;
}

void GtkDialogEnd(int dialog, int result) {
    Dialog* d = FindDialog(dialog);
    if (d == nullptr) return;
    d->result = result;
    if (d->loop != nullptr) g_main_loop_quit(d->loop);
}

void GtkDialogSetText(int dialog, int control, const char* text) {
    Control* c = FindControl(dialog, control);
    if (c == nullptr) return;
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
    Control* c = FindControl(dialog, control);
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
    Quiet quiet;
    for (GtkWidget* w : c->widgets) {
        // An option button is cleared by checking another of its group.
        if (GTK_IS_RADIO_BUTTON(w) && !checked) continue;
        if (GTK_IS_LINK_BUTTON(w)) gtk_link_button_set_visited(GTK_LINK_BUTTON(w), checked);
        if (GTK_IS_TOGGLE_BUTTON(w)) gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w), checked);
    }
}

bool GtkDialogIsChecked(int dialog, int control) {
    Control* c = FindControl(dialog, control);
    if (c == nullptr || c->widgets.empty()) return false;
    GtkWidget* w = c->widgets[0];
    if (GTK_IS_LINK_BUTTON(w)) return gtk_link_button_get_visited(GTK_LINK_BUTTON(w));
    return GTK_IS_TOGGLE_BUTTON(w) && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w));
}

void GtkDialogEnable(int dialog, int control, bool enabled) {
    Control* c = FindControl(dialog, control);
    if (c == nullptr) return;
    for (GtkWidget* w : c->widgets) {
        gtk_widget_set_sensitive(w, enabled);
        // Themes dim the icons they load themselves, not pictures drawn by the program.
        if (ImageOf(w) != nullptr) gtk_widget_set_opacity(w, enabled ? 1.0 : 0.35);
    }
}

void GtkDialogShow(int dialog, int control, bool shown) {
    Control* c = FindControl(dialog, control);
    if (c == nullptr) return;
    // A hidden control keeps its place, as it does in a dialog laid out by position: a
    // page whose controls come and go must not make the window jump in size.
    for (GtkWidget* w : c->widgets) gtk_widget_set_child_visible(w, shown);
}

void GtkDialogFocus(int dialog, int control) {
    Control* c = FindControl(dialog, control);
    if (c != nullptr && !c->widgets.empty()) gtk_widget_grab_focus(FocusTarget(c->widgets[0]));
}

bool GtkDialogIsOpen(int dialog) { return FindDialog(dialog) != nullptr; }

int GtkDialogGetFocus(int dialog) {
    const Dialog* d = FindDialog(dialog);
    const Control* c = d != nullptr ? FocusedControl(d) : nullptr;
    return c != nullptr ? c->id : 0;
}

void GtkDialogGetSelection(int dialog, int control, int* start, int* end) {
    gint from = 0, to = 0;
    Control* c = FindControl(dialog, control);
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
    Control* c = FindControl(dialog, control);
    if (c == nullptr) return;
    Quiet quiet;
    for (GtkWidget* w : c->widgets) {
        GtkWidget* field = FocusTarget(w);
        if (GTK_IS_ENTRY(field)) gtk_editable_select_region(GTK_EDITABLE(field), start, end);
    }
}

int GtkDialogListAdd(int dialog, int control, const char* text) {
    Control* c = FindControl(dialog, control);
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
    const char* text = nullptr;
    gchar* owned = nullptr;
    if (c != nullptr && !c->widgets.empty() && index >= 0 && index < GtkDialogListCount(dialog, control)) {
        GtkWidget* w = c->widgets[0];
        if (GTK_IS_NOTEBOOK(w)) {
            text = gtk_notebook_get_tab_label_text(GTK_NOTEBOOK(w), gtk_notebook_get_nth_page(GTK_NOTEBOOK(w), index));
        } else if (GTK_IS_COMBO_BOX(w)) {
            GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(w));
            GtkTreeIter iter;
            if (gtk_tree_model_iter_nth_child(model, &iter, nullptr, index)) gtk_tree_model_get(model, &iter, 0, &owned, -1);
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
    for (GtkWidget* w : c->widgets) {
        if (GTK_IS_COMBO_BOX(w)) GtkFitDropDown(GTK_COMBO_BOX(w), limit);
    }
}

void GtkDialogSetImage(int dialog, int control, int bitmapId) {
    Control* c = FindControl(dialog, control);
    if (c == nullptr) return;
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
    Control* c = FindControl(dialog, control);
    if (c == nullptr) return;
    Quiet quiet;
    for (GtkWidget* w : c->widgets) {
        if (GTK_IS_SCALE(w)) gtk_range_set_value(GTK_RANGE(w), position);
    }
}

int GtkDialogGetPosition(int dialog, int control) {
    Control* c = FindControl(dialog, control);
    if (c == nullptr || c->widgets.empty() || !GTK_IS_SCALE(c->widgets[0])) return 0;
    return static_cast<int>(gtk_range_get_value(GTK_RANGE(c->widgets[0])) + 0.5);
}

void GtkDialogCapturePointer(int dialog, int control, bool capture) {
    EndCapture();
    Control* c = FindControl(dialog, control);
    if (!capture || c == nullptr) return;
    for (GtkWidget* w : c->widgets) {
        GdkWindow* window = gtk_widget_get_window(w);
        if (!GTK_IS_EVENT_BOX(w) || !gtk_widget_get_mapped(w) || window == nullptr) continue;
        GdkDisplay* display = gtk_widget_get_display(w);
        GdkCursor* cross = gdk_cursor_new_from_name(display, "crosshair");
        GdkEvent* press = gtk_get_current_event();
        // Without the grab (another program holds the pointer) the press's implicit hold
        // still brings the moves and the release, under the usual cursor.
        gdk_seat_grab(gdk_display_get_default_seat(display), window, GDK_SEAT_CAPABILITY_ALL_POINTING, FALSE, cross,
                      press, nullptr, nullptr);
        if (press != nullptr) gdk_event_free(press);
        if (cross != nullptr) g_object_unref(cross);
        gCapturer = w;
        gCapture = {dialog, control, NOTIFY_POINTER_MOVED};
        return;
    }
}
