#include "platform/gtk/clipboard.h"

#include <gtk/gtk.h>

namespace {

GtkClipboard* Clipboard() {
    GdkDisplay* display = gdk_display_get_default();
    return display != nullptr ? gtk_clipboard_get_for_display(display, GDK_SELECTION_CLIPBOARD) : nullptr;
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
// for the answer (half a minute in GTK). So the clipboard is given up while this program
// still answers: the requests already sent are refused, later ones go to no owner, and
// the watcher restores its copy at once.
void GtkLetGoOfClipboard() {
    GtkClipboard* clipboard = Clipboard();
    if (clipboard == nullptr) return;
    GdkDisplay* display = gtk_clipboard_get_display(clipboard);
    if (!gdk_display_supports_clipboard_persistence(display)) gtk_clipboard_clear(clipboard);
    gdk_display_sync(display);
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}
