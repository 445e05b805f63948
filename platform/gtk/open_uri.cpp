#include "platform/gtk/open_uri.h"

#include <gtk/gtk.h>

bool GtkOpenUri(const char* uri) {
    // With a display the handler is told where to show itself (and startup notice).
    GdkDisplay* display = gdk_display_get_default();
    GdkAppLaunchContext* context = display != nullptr ? gdk_display_get_app_launch_context(display) : nullptr;
    GError* error = nullptr;
    const gboolean opened = g_app_info_launch_default_for_uri(uri, G_APP_LAUNCH_CONTEXT(context), &error);
    if (error != nullptr) {
        g_printerr("kelmor: cannot open %s: %s\n", uri, error->message);
        g_error_free(error);
    }
    if (context != nullptr) g_object_unref(context);
    return opened != FALSE;
}
