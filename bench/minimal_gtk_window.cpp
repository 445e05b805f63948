// The floor the Kelmor window's start-up is measured against: the least a GTK 3 program
// does to put a window with some text on the screen. Closing the window ends it.
#include <gtk/gtk.h>

int main(int argc, char** argv) {
    g_set_prgname("minimal-gtk-window");
    gtk_init(&argc, &argv);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Minimal GTK window");
    gtk_container_add(GTK_CONTAINER(window), gtk_label_new("A minimal GTK 3 window"));
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
