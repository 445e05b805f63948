// The default theme draws the marks of checked boxes and option buttons from SVG files,
// which brings in the SVG image loader and its renderer the first time a box shows:
// about 8 MiB and 18 ms for three tiny marks, more than the rest of the window costs.
// The theme ships the same marks as pre-rendered bitmaps, recoloured the same way, as its
// own fallback; pointing the marks at those keeps the look and leaves the loader out.
// Another theme keeps its own marks.
#include "platform/gtk/theme_marks.h"

#include <gtk/gtk.h>

#include <cstring>

namespace {

const char kBitmapMarks[] =
    "check:checked { -gtk-icon-source: -gtk-recolor(url(\"resource:///org/gtk/libgtk/theme/Adwaita/assets/"
    "check-symbolic.symbolic.png\")); }"
    "check:indeterminate, radio:indeterminate { -gtk-icon-source: -gtk-recolor(url(\"resource:///org/gtk/libgtk/"
    "theme/Adwaita/assets/dash-symbolic.symbolic.png\")); }"
    "radio:checked { -gtk-icon-source: -gtk-recolor(url(\"resource:///org/gtk/libgtk/theme/Adwaita/assets/"
    "bullet-symbolic.symbolic.png\")); }";

bool DefaultThemeInUse() {
    gchar* name = nullptr;
    g_object_get(gtk_settings_get_default(), "gtk-theme-name", &name, nullptr);
    const bool adwaita = name == nullptr || strcmp(name, "Adwaita") == 0 || strcmp(name, "Adwaita-dark") == 0;
    g_free(name);
    return adwaita;
}

}  // namespace

void UseBitmapThemeMarks() {
    if (!DefaultThemeInUse() || gdk_screen_get_default() == nullptr) return;
    GtkCssProvider* css = gtk_css_provider_new();
    // Below the user's own style sheet, above the theme.
    if (gtk_css_provider_load_from_data(css, kBitmapMarks, -1, nullptr)) {
        gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                                  GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    }
    g_object_unref(css);
}
