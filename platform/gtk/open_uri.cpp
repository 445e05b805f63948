#include "platform/gtk/open_uri.h"

#include <gtk/gtk.h>

namespace {

// With a display the handler is told where to show itself (and startup notice).
GdkAppLaunchContext* LaunchContext() {
    GdkDisplay* display = gdk_display_get_default();
    return display != nullptr ? gdk_display_get_app_launch_context(display) : nullptr;
}

}  // namespace

bool GtkOpenTextFile(const char* path) {
    // A script or log file's own type (its extension is nobody's) would find no
    // application; the one chosen for plain text edits any of them.
    GAppInfo* app = g_app_info_get_default_for_type("text/plain", FALSE);
    if (app == nullptr) return false;
    GFile* file = g_file_new_for_path(path);
    GList files = {file, nullptr, nullptr};
    GdkAppLaunchContext* context = LaunchContext();
    GError* error = nullptr;
    const gboolean opened = g_app_info_launch(app, &files, G_APP_LAUNCH_CONTEXT(context), &error);
    if (error != nullptr) {
        g_printerr("kelmor: cannot open %s with %s: %s\n", path, g_app_info_get_name(app), error->message);
        g_error_free(error);
    }
    if (context != nullptr) g_object_unref(context);
    g_object_unref(file);
    g_object_unref(app);
    return opened != FALSE;
}

bool GtkOpenUri(const char* uri) {
    GdkAppLaunchContext* context = LaunchContext();
    GError* error = nullptr;
    const gboolean opened = g_app_info_launch_default_for_uri(uri, G_APP_LAUNCH_CONTEXT(context), &error);
    if (error != nullptr) {
        g_printerr("kelmor: cannot open %s: %s\n", uri, error->message);
        g_error_free(error);
    }
    if (context != nullptr) g_object_unref(context);
    return opened != FALSE;
}
