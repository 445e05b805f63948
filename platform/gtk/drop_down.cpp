#include "platform/gtk/drop_down.h"

#include <string>

namespace {

const char kWidthKey[] = "kelmor-drop-down-width";

int LongestEntry(GtkComboBox* combo) {
    GtkTreeModel* model = gtk_combo_box_get_model(combo);
    const int column = GTK_IS_COMBO_BOX_TEXT(combo) ? 0 : gtk_combo_box_get_entry_text_column(combo);
    long longest = 0;
    GtkTreeIter iter;
    for (gboolean more = model != nullptr && gtk_tree_model_get_iter_first(model, &iter); more;
         more = gtk_tree_model_iter_next(model, &iter)) {
        gchar* text = nullptr;
        gtk_tree_model_get(model, &iter, column, &text, -1);
        if (text != nullptr && g_utf8_strlen(text, -1) > longest) longest = g_utf8_strlen(text, -1);
        g_free(text);
    }
    return static_cast<int>(longest);
}

// The desktop's scroll bars are as wide as a scroll bar asks to be.
int ScrollBarWidth() {
    GtkWidget* bar = gtk_scrollbar_new(GTK_ORIENTATION_VERTICAL, nullptr);
    g_object_ref_sink(bar);
    int minimum = 0, natural = 0;
    gtk_widget_get_preferred_width(bar, &minimum, &natural);
    gtk_widget_destroy(bar);
    g_object_unref(bar);
    return natural;
}

// The combo sizes its list just before showing it; this comes after and only widens it.
void OnListShown(GtkWidget* menu, gpointer) {
    GtkWidget* combo = gtk_menu_get_attach_widget(GTK_MENU(menu));
    const int wanted = combo != nullptr ? GPOINTER_TO_INT(g_object_get_data(G_OBJECT(combo), kWidthKey)) : 0;
    int width = -1;
    gtk_widget_get_size_request(menu, &width, nullptr);
    if (wanted > width) gtk_widget_set_size_request(menu, wanted, -1);
}

}  // namespace

void GtkFitDropDown(GtkComboBox* combo, int limit) {
    const std::string run(static_cast<size_t>(LongestEntry(combo)) + 3, 'X');
    PangoLayout* layout = gtk_widget_create_pango_layout(GTK_WIDGET(combo), run.c_str());
    int width = 0;
    pango_layout_get_pixel_size(layout, &width, nullptr);
    g_object_unref(layout);
    width += ScrollBarWidth() + 6;
    g_object_set_data(G_OBJECT(combo), kWidthKey, GINT_TO_POINTER(width < limit ? width : limit));
    // Looked for at each fit: the combo makes its list anew when the theme changes.
    for (GList* l = gtk_menu_get_for_attach_widget(GTK_WIDGET(combo)); l != nullptr; l = l->next) {
        GObject* menu = G_OBJECT(l->data);
        if (g_object_get_data(menu, kWidthKey) != nullptr) continue;
        g_object_set_data(menu, kWidthKey, GINT_TO_POINTER(1));
        g_signal_connect_after(menu, "show", G_CALLBACK(OnListShown), nullptr);
    }
}
