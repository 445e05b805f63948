#include "platform/gtk/file_dialog.h"

#include <gtk/gtk.h>

#include <cstring>
#include <string>

#include "platform/gtk/dialog.h"
#include "platform/gtk/main_window.h"
#include "platform/gtk/message_box.h"
#include "platform/message_box.h"

namespace {

gboolean MayBeRun(const GtkFileFilterInfo* info, gpointer) {
    return info->filename != nullptr && g_file_test(info->filename, G_FILE_TEST_IS_EXECUTABLE) &&
           !g_file_test(info->filename, G_FILE_TEST_IS_DIR);
}

// One GTK filter per description and pattern pair; the patterns are separated by ';'.
GSList* AddFilters(GtkFileChooser* chooser, const char* filters) {
    for (const char* p = filters; p != nullptr && *p != '\0';) {
        const char* description = p;
        const char* patterns = description + strlen(description) + 1;
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, description);
        std::string list = patterns;
        size_t start = 0;
        while (start <= list.size()) {
            const size_t end = list.find(';', start);
            const std::string pattern = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
            // "*.*" means every file, also those without a dot.
            if (pattern == FILE_PATTERN_EXECUTABLE) {
                gtk_file_filter_add_custom(filter, GTK_FILE_FILTER_FILENAME, MayBeRun, nullptr, nullptr);
            } else if (!pattern.empty()) {
                gtk_file_filter_add_pattern(filter, pattern == "*.*" ? "*" : pattern.c_str());
            }
            if (end == std::string::npos) break;
            start = end + 1;
        }
        gtk_file_chooser_add_filter(chooser, filter);
        p = patterns + strlen(patterns) + 1;
    }
    return gtk_file_chooser_list_filters(chooser);
}

}  // namespace

bool GtkFileDialog(bool save, char* name, int nameSize, const char* filters, int filterIndex, int* chosenFilter) {
    if (name == nullptr || nameSize <= 0 || !GtkFaceStart()) return false;
    // In front of the dialog it was opened from, if any.
    GtkWindow* parent = GtkRunningDialogWindow();
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        save ? "Save As" : "Open", parent != nullptr ? parent : GtkMainWindowAsParent(),
        save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel", GTK_RESPONSE_CANCEL,
        save ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    GSList* list = AddFilters(chooser, filters);
    GSList* initial = g_slist_nth(list, static_cast<guint>(filterIndex > 0 ? filterIndex - 1 : 0));
    if (initial != nullptr) gtk_file_chooser_set_filter(chooser, GTK_FILE_FILTER(initial->data));
    if (name[0] != '\0') {
        if (save) {
            gchar* folder = g_path_get_dirname(name);
            gchar* base = g_path_get_basename(name);
            if (g_path_is_absolute(name)) gtk_file_chooser_set_current_folder(chooser, folder);
            gtk_file_chooser_set_current_name(chooser, base);
            g_free(folder);
            g_free(base);
        } else {
            gtk_file_chooser_set_filename(chooser, name);
        }
    }
    bool chosen = false;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        gchar* file = gtk_file_chooser_get_filename(chooser);
        // A name that does not fit is not cut: a shorter one would be another file.
        if (file != nullptr && strlen(file) < static_cast<size_t>(nameSize)) {
            strcpy(name, file);
            const int index = g_slist_index(list, gtk_file_chooser_get_filter(chooser));
            if (chosenFilter != nullptr) *chosenFilter = index >= 0 ? index + 1 : 1;
            chosen = true;
        }
        g_free(file);
    }
    g_slist_free(list);
    gtk_widget_destroy(dialog);
    return chosen;
}
