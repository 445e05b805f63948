#include "platform/gtk/pane_size.h"

#include <cstdio>
#include <cstring>

namespace {

// The size last read or kept, so that a new allocation of the same size reads no file.
int gKeptWidth = 0;
int gKeptHeight = 0;

gchar* CachePath() { return g_build_filename(g_get_user_cache_dir(), "kelmor", "panes", nullptr); }

// What the size depends on besides the program: a size kept under other conditions is
// not used.
gchar* Conditions(GtkWidget* widget) {
    gchar* theme = nullptr;
    gchar* font = nullptr;
    gint dpi = 0;
    g_object_get(gtk_widget_get_settings(widget), "gtk-theme-name", &theme, "gtk-font-name", &font, "gtk-xft-dpi",
                 &dpi, nullptr);
    gchar* conditions = g_strdup_printf("kelmor %s|%s|%s|%d|%d", KELMOR_VERSION_TEXT, theme != nullptr ? theme : "",
                                        font != nullptr ? font : "", dpi, gtk_widget_get_scale_factor(widget));
    g_free(theme);
    g_free(font);
    return conditions;
}

// The size in the file's second line, under the conditions in its first.
bool ParseSize(const gchar* contents, const gchar* conditions, int* width, int* height) {
    const size_t length = strlen(conditions);
    if (strncmp(contents, conditions, length) != 0 || contents[length] != '\n') return false;
    int w = 0, h = 0;
    char end = '\0';
    if (sscanf(contents + length + 1, "%d %d%c", &w, &h, &end) != 3 || end != '\n') return false;
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384) return false;
    *width = w;
    *height = h;
    return true;
}

}  // namespace

bool ReadPaneSize(GtkWidget* widget, int* width, int* height) {
    gchar* path = CachePath();
    gchar* contents = nullptr;
    bool found = false;
    if (g_file_get_contents(path, &contents, nullptr, nullptr)) {
        gchar* conditions = Conditions(widget);
        found = ParseSize(contents, conditions, width, height);
        g_free(conditions);
    }
    if (found) {
        gKeptWidth = *width;
        gKeptHeight = *height;
    }
    g_free(contents);
    g_free(path);
    return found;
}

void KeepPaneSize(GtkWidget* widget, int width, int height) {
    if (width == gKeptWidth && height == gKeptHeight) return;
    gKeptWidth = width;
    gKeptHeight = height;
    gchar* path = CachePath();
    gchar* folder = g_path_get_dirname(path);
    gchar* conditions = Conditions(widget);
    gchar* contents = g_strdup_printf("%s\n%d %d\n", conditions, width, height);
    // Only a faster start is lost when it cannot be kept.
    if (g_mkdir_with_parents(folder, 0700) == 0) g_file_set_contents(path, contents, -1, nullptr);
    g_free(contents);
    g_free(conditions);
    g_free(folder);
    g_free(path);
}
