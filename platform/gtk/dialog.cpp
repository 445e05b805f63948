// The dialogs of the GTK face: the open dialogs by id, what their windows report, the modal
// loop and the panes (platform/gtk/dialog.h); the calls on controls are dialog_controls.cpp.
#include "platform/gtk/dialog.h"

#include <vector>

#include "platform/gtk/dialogs.h"
#include "platform/gtk/pane_size.h"
#include "platform/wintypes.h"

using namespace gtkdialogs;

namespace gtkdialogs {

std::vector<Dialog*> gDialogs;
int gQuiet = 0;

Dialog* FindDialog(int dialog) {
    for (Dialog* d : gDialogs) {
        if (d->id == dialog) return d;
    }
    return nullptr;
}

Control* FindControl(int dialog, int control) {
    Dialog* d = FindDialog(dialog);
    if (d == nullptr) return nullptr;
    for (Control& c : d->controls) {
        if (c.id == control) return &c;
    }
    return nullptr;
}

void Notify(const Source* source) {
    if (gQuiet > 0) return;
    Dialog* d = FindDialog(source->dialog);
    if (d != nullptr && d->proc != nullptr) d->proc(d->id, DIALOG_COMMAND, source->control, source->notification);
}

Source* NewSource(GtkWidget* widget, int dialog, int control, int notification) {
    auto* source = new Source{dialog, control, notification};
    g_object_set_data_full(G_OBJECT(widget), notification == NOTIFY_SPIN_DOWN ? "down" : "source", source,
                           [](gpointer p) { delete static_cast<Source*>(p); });
    return source;
}

void OnClicked(GtkWidget*, gpointer data) { Notify(static_cast<Source*>(data)); }

}  // namespace gtkdialogs

namespace {

GtkWidget* gChildHome = nullptr;

void Forget(Dialog* d) {
    if (d->making != 0) g_source_remove(d->making);
    for (size_t i = 0; i < gDialogs.size(); ++i) {
        if (gDialogs[i] == d) gDialogs.erase(gDialogs.begin() + static_cast<long>(i));
    }
    delete d;
}

// A dialog larger than the screen's work area (a large scale, a small screen) scrolls its
// pages, so that its buttons stay in reach; the frame the window manager adds is allowed for.
void FitOnScreen(GtkWidget* top) {
    const int kFrame = 48;
    GdkDisplay* display = gtk_widget_get_display(top);
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (monitor == nullptr) monitor = gdk_display_get_monitor(display, 0);
    if (monitor == nullptr) return;
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    GtkRequisition natural;
    gtk_widget_get_preferred_size(top, nullptr, &natural);
    const int width = area.width - kFrame, height = area.height - kFrame;
    if (natural.width <= width && natural.height <= height) return;
    GList* children = gtk_container_get_children(GTK_CONTAINER(top));
    GtkWidget* pages = children != nullptr ? GTK_WIDGET(children->data) : nullptr;
    g_list_free(children);
    if (pages == nullptr) return;
    GtkRequisition rest;
    gtk_widget_get_preferred_size(pages, nullptr, &rest);
    rest.height = natural.height - rest.height;
    GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_widget_set_can_focus(scrolled, FALSE);
    g_object_ref(pages);
    gtk_container_remove(GTK_CONTAINER(top), pages);
    gtk_container_add(GTK_CONTAINER(scrolled), pages);
    g_object_unref(pages);
    gtk_widget_set_size_request(scrolled, natural.width < width ? natural.width : width,
                                natural.height < height ? natural.height - rest.height : height - rest.height);
    gtk_box_pack_start(GTK_BOX(top), scrolled, TRUE, TRUE, 0);
    gtk_box_reorder_child(GTK_BOX(top), scrolled, 0);
    gtk_widget_show(scrolled);
}

// Makes one page left to make at a time, so that a key pressed meanwhile is not held up
// by them all. The last one made, the panes take the size they need again.
gboolean MakeNextPage(gpointer dialog) {
    Dialog* d = FindDialog(GPOINTER_TO_INT(dialog));
    if (d == nullptr) return G_SOURCE_REMOVE;
    for (size_t page = 0; page < d->pages.size(); ++page) {
        if ((d->unmadePages >> page & 1) == 0) continue;
        MakePage(d, static_cast<int>(page));
        break;
    }
    if (d->unmadePages != 0) return G_SOURCE_CONTINUE;
    d->making = 0;
    gtk_widget_set_size_request(d->notebook, -1, -1);
    return G_SOURCE_REMOVE;
}

gboolean OnFirstDraw(GtkWidget* top, cairo_t*, gpointer dialog) {
    g_signal_handlers_disconnect_by_func(top, reinterpret_cast<gpointer>(OnFirstDraw), dialog);
    Dialog* d = FindDialog(GPOINTER_TO_INT(dialog));
    if (d != nullptr && d->making == 0 && d->unmadePages != 0) d->making = g_idle_add(MakeNextPage, dialog);
    return FALSE;
}

// The size the panes are given, kept for the next start once all their pages are made.
void OnPanesAllocated(GtkWidget* notebook, GdkRectangle* allocation, gpointer dialog) {
    const Dialog* d = FindDialog(GPOINTER_TO_INT(dialog));
    if (d != nullptr && d->unmadePages == 0) KeepPaneSize(notebook, allocation->width, allocation->height);
}

gboolean OnDialogDelete(GtkWidget*, GdkEvent*, gpointer data) {
    GtkDialogEnd(static_cast<Dialog*>(data)->id, IDCANCEL);
    return TRUE;
}

bool (*gRunFunctionKey)(guint keyval) = nullptr;

// The main window's accelerators do not reach a modal dialog; those on a function key
// alone (F1, help for this screen) act there too. Esc presses Cancel, as in every dialog;
// a dialog without one ends as cancelled.
gboolean OnModalKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
    const bool plain = (event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK | GDK_SHIFT_MASK)) == 0;
    if (plain && event->keyval == GDK_KEY_Escape) {
        const Dialog* d = static_cast<Dialog*>(data);
        for (const Control& c : d->controls) {
            if (c.id != IDCANCEL || c.widgets.empty()) continue;
            if (gtk_widget_is_sensitive(c.widgets[0])) gtk_widget_activate(c.widgets[0]);
            return TRUE;
        }
        GtkDialogEnd(d->id, IDCANCEL);
        return TRUE;
    }
    return plain && gRunFunctionKey != nullptr && gRunFunctionKey(event->keyval) ? TRUE : FALSE;
}

}  // namespace

void GtkDialogSetFunctionKeys(bool (*run)(guint keyval)) { gRunFunctionKey = run; }

void GtkDialogSetChildHome(GtkWidget* box) { gChildHome = box; }

bool GtkDialogCreate(const DialogDescription* description, DialogProc proc) {
    if (description == nullptr || gChildHome == nullptr || FindDialog(description->id) != nullptr) return false;
    // The pages behind the shown one are made once the window has been drawn, where the
    // size they need is known from an earlier start: the window comes up sooner, and at
    // its full size.
    int width = 0, height = 0;
    const bool later = ReadPaneSize(gChildHome, &width, &height);
    Dialog* d = Build(description, proc, later);
    if (later && d->notebook != nullptr) gtk_widget_set_size_request(d->notebook, width, height);
    gtk_box_pack_start(GTK_BOX(gChildHome), d->top, TRUE, TRUE, 0);
    GtkWidget* window = gtk_widget_get_toplevel(gChildHome);
    if (GTK_IS_WINDOW(window) && g_object_get_data(G_OBJECT(window), "kelmor-keys") == nullptr) {
        g_object_set_data(G_OBJECT(window), "kelmor-keys", window);
        g_signal_connect(window, "key-press-event", G_CALLBACK(OnWindowKeyPress), nullptr);
    }
    if (proc != nullptr) proc(d->id, DIALOG_INIT, 0, 0);
    if (d->notebook != nullptr) {
        MakePage(d, gtk_notebook_get_current_page(GTK_NOTEBOOK(d->notebook)));
        g_signal_connect(d->notebook, "size-allocate", G_CALLBACK(OnPanesAllocated), GINT_TO_POINTER(d->id));
        if (d->unmadePages != 0) {
            g_signal_connect_after(d->top, "draw", G_CALLBACK(OnFirstDraw), GINT_TO_POINTER(d->id));
        }
    }
    return true;
}

namespace {

// The windows of the dialogs GtkDialogRun is running, the innermost last.
std::vector<GtkWindow*> gRunning;

}  // namespace

GtkWindow* GtkRunningDialogWindow() { return gRunning.empty() ? nullptr : gRunning.back(); }

int GtkDialogRun(const DialogDescription* description, DialogProc proc) {
    if (description == nullptr || FindDialog(description->id) != nullptr) return -1;
    Dialog* d = Build(description, proc);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), description->caption);
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
    atk_object_set_role(gtk_widget_get_accessible(window), ATK_ROLE_DIALOG);
    FitOnScreen(d->top);
    gtk_container_add(GTK_CONTAINER(window), d->top);
    // Enter presses the default button, from a field too.
    for (const Control& c : d->controls) {
        if ((c.flags & CONTROL_DEFAULT) == 0 || c.widgets.empty() || !GTK_IS_BUTTON(c.widgets[0])) continue;
        gtk_widget_set_can_default(c.widgets[0], TRUE);
        gtk_window_set_default(GTK_WINDOW(window), c.widgets[0]);
    }
    g_signal_connect(window, "delete-event", G_CALLBACK(OnDialogDelete), d);
    g_signal_connect(window, "key-press-event", G_CALLBACK(OnModalKeyPress), d);
    if (proc != nullptr) proc(d->id, DIALOG_INIT, 0, 0);
    if (d->loop == nullptr && d->result == -1) {
        gtk_widget_show(window);
        d->loop = g_main_loop_new(nullptr, FALSE);
        gRunning.push_back(GTK_WINDOW(window));
        g_main_loop_run(d->loop);
        gRunning.pop_back();
        g_main_loop_unref(d->loop);
        d->loop = nullptr;
    }
    const int result = d->result;
    gtk_widget_destroy(window);
    Forget(d);
    return result;
}

void GtkDialogEnd(int dialog, int result) {
    Dialog* d = FindDialog(dialog);
    if (d == nullptr) return;
    d->result = result;
    if (d->loop != nullptr) g_main_loop_quit(d->loop);
}

bool GtkDialogIsOpen(int dialog) { return FindDialog(dialog) != nullptr; }
