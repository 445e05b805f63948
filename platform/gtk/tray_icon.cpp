// GtkStatusIcon is the toolkit's XEmbed tray icon. GTK would rather programs used
// something else, but on X11 it is still the one way into a system tray; its calls are
// wrapped so that the deprecation warnings stay quiet.
#include "platform/gtk/tray_icon.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <cstdio>

#include "platform/gtk/tray_images.h"
#include "platform/tray_icon.h"
#include "platform/window.h"

G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace {

// A tray that is there docks the icon within moments; after this long without it the
// icon counts as lost.
const guint kEmbedWaitMs = 3000;

GtkStatusIcon* gIcon = nullptr;
void (*gOnEvent)(int event) = nullptr;
int gCode = 0;
int gSize = 16;
guint gWait = 0;
bool gGaveUp = false;
bool gWasEmbedded = false;
// The right click that opens the menu, for the menu's grab.
guint gMenuButton = 0;
guint32 gMenuTime = 0;
int gChosen = 0;

// Some program owns the tray selection of the screen: a tray is there to dock with.
bool TrayPresent() {
    GdkDisplay* display = gdk_display_get_default();
    if (display == nullptr || !GDK_IS_X11_DISPLAY(display)) return false;
    char name[32];
    snprintf(name, sizeof name, "_NET_SYSTEM_TRAY_S%d", gdk_x11_screen_get_screen_number(gdk_screen_get_default()));
    Display* x = GDK_DISPLAY_XDISPLAY(display);
    return XGetSelectionOwner(x, XInternAtom(x, name, False)) != None;
}

void Report(int event) {
    if (gOnEvent != nullptr) gOnEvent(event);
}

void ShowImage() {
    GdkPixbuf* pixbuf = TrayImage(gCode, gSize);
    gtk_status_icon_set_from_pixbuf(gIcon, pixbuf);
    g_object_unref(pixbuf);
}

void StopWaiting() {
    if (gWait != 0) g_source_remove(gWait);
    gWait = 0;
}

gboolean OnWaitOver(gpointer) {
    gWait = 0;
    if (gIcon != nullptr && !gtk_status_icon_is_embedded(gIcon)) {
        gGaveUp = true;
        Report(TRAY_EVENT_LOST);
    }
    return G_SOURCE_REMOVE;
}

// Icons removed by the program report nothing: only the icon shown counts.
void OnEmbeddedChanged(GObject* icon, GParamSpec*, gpointer) {
    if (icon != G_OBJECT(gIcon)) return;
    const bool embedded = gtk_status_icon_is_embedded(gIcon);
    if (embedded) {
        StopWaiting();
        gGaveUp = false;
    } else if (gWasEmbedded) {
        gGaveUp = true;
        Report(TRAY_EVENT_LOST);
    }
    gWasEmbedded = embedded;
}

gboolean OnSizeChanged(GtkStatusIcon* icon, gint size, gpointer) {
    if (icon != gIcon || size <= 0) return FALSE;
    gSize = size;
    ShowImage();
    return TRUE;
}

gboolean OnButtonPress(GtkStatusIcon* icon, GdkEventButton* event, gpointer) {
    if (icon != gIcon || event->button != 1 || event->type != GDK_2BUTTON_PRESS) return FALSE;
    Report(TRAY_EVENT_DOUBLE_CLICK);
    return TRUE;
}

void OnPopupMenu(GtkStatusIcon* icon, guint button, guint activateTime, gpointer) {
    if (icon != gIcon) return;
    gMenuButton = button;
    gMenuTime = activateTime;
    Report(TRAY_EVENT_MENU);
}

void OnMenuItem(GtkMenuItem*, gpointer id) { gChosen = GPOINTER_TO_INT(id); }

void OnMenuDone(GtkMenuShell*, gpointer loop) { g_main_loop_quit(static_cast<GMainLoop*>(loop)); }

}  // namespace

bool GtkAddTrayIcon(int code, const char* tip, void (*onEvent)(int event)) {
    GtkRemoveTrayIcon();
    gOnEvent = onEvent;
    gCode = code;
    gGaveUp = false;
    gWasEmbedded = false;
    gIcon = gtk_status_icon_new();
    // The icon's window must not pass for the main window, which a second start finds
    // by the program's class. The toolkit's own way to name it makes the window again,
    // and a tray already docking the first one leaves the toolkit counting one map too
    // many (a critical on standard error): the class is set on the window there is.
    if (const guint32 id = gtk_status_icon_get_x11_window_id(gIcon)) {
        char name[] = "kelmor-tray";
        XClassHint hint = {name, name};
        XSetClassHint(GDK_DISPLAY_XDISPLAY(gdk_display_get_default()), id, &hint);
    }
    gtk_status_icon_set_title(gIcon, "Kelmor");
    g_signal_connect(gIcon, "notify::embedded", G_CALLBACK(OnEmbeddedChanged), nullptr);
    g_signal_connect(gIcon, "size-changed", G_CALLBACK(OnSizeChanged), nullptr);
    g_signal_connect(gIcon, "button-press-event", G_CALLBACK(OnButtonPress), nullptr);
    g_signal_connect(gIcon, "popup-menu", G_CALLBACK(OnPopupMenu), nullptr);
    ShowImage();
    gtk_status_icon_set_tooltip_text(gIcon, tip != nullptr ? tip : "");
    gtk_status_icon_set_visible(gIcon, TRUE);
    if (!TrayPresent()) return false;
    gWait = g_timeout_add(kEmbedWaitMs, OnWaitOver, nullptr);
    return true;
}

void GtkSetTrayIcon(int code, const char* tip) {
    if (gIcon == nullptr) return;
    gCode = code;
    ShowImage();
    gtk_status_icon_set_tooltip_text(gIcon, tip != nullptr ? tip : "");
}

void GtkRemoveTrayIcon() {
    StopWaiting();
    if (gIcon == nullptr) return;
    GtkStatusIcon* icon = gIcon;
    gIcon = nullptr;
    gtk_status_icon_set_visible(icon, FALSE);
    g_object_unref(icon);
}

bool GtkIsTrayIconReachable() {
    return gIcon != nullptr && (gtk_status_icon_is_embedded(gIcon) || (!gGaveUp && TrayPresent()));
}

int GtkTrackTrayMenu(const TrayMenuItem* items, int count) {
    if (gIcon == nullptr) return 0;
    GtkWidget* menu = gtk_menu_new();
    for (int i = 0; i < count; ++i) {
        GtkWidget* item;
        if (items[i].id == 0) {
            item = gtk_separator_menu_item_new();
        } else {
            item = gtk_menu_item_new_with_label(items[i].text);
            gtk_widget_set_sensitive(item, items[i].enabled);
            g_signal_connect(item, "activate", G_CALLBACK(OnMenuItem), GINT_TO_POINTER(items[i].id));
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    }
    gtk_widget_show_all(menu);
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    g_signal_connect(menu, "deactivate", G_CALLBACK(OnMenuDone), loop);
    gChosen = 0;
    gtk_menu_popup(GTK_MENU(menu), nullptr, nullptr, gtk_status_icon_position_menu, gIcon, gMenuButton, gMenuTime);
    // A menu that could not take the pointer is not shown and would never close.
    if (gtk_widget_get_visible(menu)) g_main_loop_run(loop);
    g_main_loop_unref(loop);
    gtk_widget_destroy(menu);
    return gChosen;
}

G_GNUC_END_IGNORE_DEPRECATIONS
