// A widget given the focus by a key (the file dialog's location field, shown by Ctrl+L)
// is realized only at the next frame, but the keys already queued behind that key (its
// release, the first letters typed after it) go to it at once: GTK refuses them with a
// critical message and they are lost. Realizing the focused widget before such a key is
// handed over lets it take the keys a fast typist (or a test) sends.
#include "platform/gtk/key_focus.h"

#include <gtk/gtk.h>

namespace {

void OnEvent(GdkEvent* event, gpointer) {
    if (event->type == GDK_KEY_PRESS || event->type == GDK_KEY_RELEASE) {
        gpointer owner = nullptr;
        if (event->any.window != nullptr) gdk_window_get_user_data(event->any.window, &owner);
        GtkWidget* top = owner != nullptr && GTK_IS_WIDGET(owner) ? gtk_widget_get_toplevel(GTK_WIDGET(owner)) : nullptr;
        GtkWidget* focus = top != nullptr && GTK_IS_WINDOW(top) ? gtk_window_get_focus(GTK_WINDOW(top)) : nullptr;
        if (focus != nullptr && !gtk_widget_get_realized(focus) && gtk_widget_get_realized(top) &&
            gtk_widget_is_visible(focus)) {
            gtk_widget_realize(focus);
        }
    }
    gtk_main_do_event(event);
}

}  // namespace

void GtkKeepKeysForRealizedFocus() { gdk_event_handler_set(OnEvent, nullptr, nullptr); }
