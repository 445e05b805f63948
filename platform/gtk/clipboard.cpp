#include "platform/gtk/clipboard.h"

#include <gtk/gtk.h>

namespace {

GtkClipboard* Clipboard() {
    GdkDisplay* display = gdk_display_get_default();
    return display != nullptr ? gtk_clipboard_get_for_display(display, GDK_SELECTION_CLIPBOARD) : nullptr;
}

// Handles every event the display has queued. GTK leaves a request for a selection it no
// longer holds unanswered, and the program that asked then waits for an answer that never
// comes (half a minute in GTK); such a request is refused here instead.
void AnswerQueuedEvents(GdkDisplay* display) {
    gdk_display_sync(display);
    while (GdkEvent* event = gdk_display_get_event(display)) {
        const GdkEventSelection& request = event->selection;
        if (event->type == GDK_SELECTION_REQUEST && request.selection == GDK_SELECTION_CLIPBOARD &&
            gdk_selection_owner_get_for_display(display, GDK_SELECTION_CLIPBOARD) == nullptr) {
            gdk_selection_send_notify_for_display(display, request.requestor, request.selection, request.target,
                                                  GDK_NONE, request.time);
        } else {
            gtk_main_do_event(event);
        }
        gdk_event_free(event);
    }
    gdk_display_flush(display);
}

}  // namespace

bool GtkSetClipboardText(const char* text) {
    GtkClipboard* clipboard = Clipboard();
    if (clipboard == nullptr || text == nullptr) return false;
    gchar* valid = g_utf8_make_valid(text, -1);
    gtk_clipboard_set_text(clipboard, valid, -1);
    g_free(valid);
    // A clipboard manager takes a copy that outlives the program; without one the text
    // stays while the program runs.
    gtk_clipboard_set_can_store(clipboard, nullptr, 0);
    gtk_clipboard_store(clipboard);
    return true;
}

// A clipboard manager of the desktop's standard kind already holds a copy (stored when
// the text was set). Others watch the clipboard and put their copy back when it is
// empty; but a program that ends with a request of theirs unanswered leaves them waiting
// for the answer. So the requests already sent are answered while the text is still
// here, the clipboard is given up, those sent meanwhile are refused, later ones go to no
// owner, and the watcher restores its copy at once.
void GtkLetGoOfClipboard() {
    GtkClipboard* clipboard = Clipboard();
    if (clipboard == nullptr) return;
    GdkDisplay* display = gtk_clipboard_get_display(clipboard);
    AnswerQueuedEvents(display);
    if (gdk_display_supports_clipboard_persistence(display)) return;
    gtk_clipboard_clear(clipboard);
    AnswerQueuedEvents(display);
}
