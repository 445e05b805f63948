#include "platform/gtk/clipboard.h"

#include <gtk/gtk.h>

bool GtkSetClipboardText(const char* text) {
    GdkDisplay* display = gdk_display_get_default();
    if (display == nullptr || text == nullptr) return false;
    GtkClipboard* clipboard = gtk_clipboard_get_for_display(display, GDK_SELECTION_CLIPBOARD);
    if (clipboard == nullptr) return false;
    gchar* valid = g_utf8_make_valid(text, -1);
    gtk_clipboard_set_text(clipboard, valid, -1);
    g_free(valid);
    // A clipboard manager takes a copy that outlives the program; without one the text
    // stays while the program runs.
    gtk_clipboard_set_can_store(clipboard, nullptr, 0);
    gtk_clipboard_store(clipboard);
    return true;
}
