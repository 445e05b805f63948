// What a person does to the controls that GTK's own widgets do not report as the core
// wants: pictures pressed, and gadgets, which show the pictures' hand; the pointer held by
// a picture; and entry fields whose keys and characters go to the procedure instead of the
// field.
#include "platform/gtk/dialog.h"

#include "platform/gtk/dialogs.h"
#include "platform/wintypes.h"
#include "platform/x11/keymap.h"

using namespace gtkdialogs;

namespace {

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

}  // namespace

namespace gtkdialogs {

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

// Only the procedure's own changes reach a field it edits.
void OnEntryInsert(GtkEditable* entry, gchar*, gint, gint*, gpointer) {
    if (gQuiet == 0) g_signal_stop_emission_by_name(entry, "insert-text");
}

void OnEntryDelete(GtkEditable* entry, gint, gint, gpointer) {
    if (gQuiet == 0) g_signal_stop_emission_by_name(entry, "delete-text");
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

}  // namespace gtkdialogs

void GtkDialogCapturePointer(int dialog, int control, bool capture) {
    EndCapture();
    Control* c = FindMadeControl(dialog, control);
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
