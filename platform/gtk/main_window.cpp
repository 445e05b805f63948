// The main window. Menu items and toolbar buttons are found by command id; a check mark
// belongs to the core, so choosing a check item does not toggle it by itself.
#include "platform/gtk/main_window.h"

#include <X11/Xlib.h>
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

#include <cstring>
#include <map>
#include <string>

#include "platform/desktop.h"
#include "platform/window_parts.h"
#include "platform/wintypes.h"
#include "platform/gtk/dialog.h"
#include "platform/gtk/display_lost.h"
#include "platform/gtk/message_box.h"
#include "platform/gtk/toolbar_images.h"

namespace {

const uint16_t kVirtualKeyF1 = 0x70;
const uint16_t kVirtualKeyF24 = 0x87;

GtkWidget* gWindow = nullptr;
GtkAccelGroup* gAccelerators = nullptr;
KelmorWindowParts gParts;
std::map<int, GtkWidget*> gMenuItems;
std::map<int, GtkWidget*> gToolButtons;
// Set while the core sets a check mark, which is not a choice of the item.
bool gSettingCheck = false;
// Where the window was when it was hidden (or was put while hidden): GTK can only guess
// the place of a window that is not on the screen.
bool gHiddenPlaced = false;
gint gHiddenX = 0;
gint gHiddenY = 0;
GtkWidget* gPanes = nullptr;
void (*gOnMenuOpen)() = nullptr;

const char kChecked[] = "kelmor-checked";

void OnItemActivated(GtkMenuItem* item, gpointer data) {
    if (gSettingCheck) return;
    if (GTK_IS_CHECK_MENU_ITEM(item)) {
        // GTK has already toggled the mark: put back the core's.
        gSettingCheck = true;
        gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item),
                                       g_object_get_data(G_OBJECT(item), kChecked) != nullptr);
        gSettingCheck = false;
    }
    gParts.onCommand(GPOINTER_TO_INT(data));
}

// A menu of the menu bar is about to show: the core's opening rules come first.
void OnMenuShow(GtkWidget*, gpointer) {
    if (gOnMenuOpen != nullptr) gOnMenuOpen();
}

void OnToolClicked(GtkToolButton*, gpointer data) { gParts.onCommand(GPOINTER_TO_INT(data)); }

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer) {
    // The exit step ends the program, and the window with it; staying is the core's call.
    gParts.onClose();
    return TRUE;
}

gboolean OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer) {
    if (gParts.onFocus != nullptr) gParts.onFocus();
    return FALSE;
}

gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer) {
    int virtualKey = 0;
    if (event->keyval == GDK_KEY_Page_Down || event->keyval == GDK_KEY_KP_Page_Down) virtualKey = VK_NEXT;
    if (event->keyval == GDK_KEY_Page_Up || event->keyval == GDK_KEY_KP_Page_Up) virtualKey = VK_PRIOR;
    if (virtualKey == 0 || gParts.onKey == nullptr) return FALSE;
    return gParts.onKey(virtualKey, (event->state & GDK_CONTROL_MASK) != 0) ? TRUE : FALSE;
}

gboolean ShowAgain(gpointer) {
    if (gWindow == nullptr || gtk_widget_get_visible(gWindow)) return G_SOURCE_REMOVE;
    // Mapped from outside, it went wherever the window manager put it.
    gtk_window_present(GTK_WINDOW(gWindow));
    if (gHiddenPlaced) gtk_window_move(GTK_WINDOW(gWindow), gHiddenX, gHiddenY);
    return G_SOURCE_REMOVE;
}

// Another program (a second start finding this copy in the tray) may map the hidden
// window: the toolkit, which still holds it hidden, is told so that hiding it works again.
GdkFilterReturn OnWindowEvent(GdkXEvent* xevent, GdkEvent*, gpointer) {
    if (static_cast<XEvent*>(xevent)->type == MapNotify && gWindow != nullptr && !gtk_widget_get_visible(gWindow)) {
        g_idle_add(ShowAgain, nullptr);
    }
    return GDK_FILTER_CONTINUE;
}

guint KeyOfVirtualKey(uint16_t key) {
    if (key >= 'A' && key <= 'Z') return GDK_KEY_a + (key - 'A');
    if (key >= '0' && key <= '9') return GDK_KEY_0 + (key - '0');
    if (key >= kVirtualKeyF1 && key <= kVirtualKeyF24) return GDK_KEY_F1 + (key - kVirtualKeyF1);
    return 0;
}

void AddAccelerator(GtkWidget* item, int id) {
    for (int i = 0; i < gParts.acceleratorCount; ++i) {
        const Accelerator& a = gParts.accelerators[i];
        const guint key = KeyOfVirtualKey(a.key);
        if (a.command != id || key == 0) continue;
        gtk_widget_add_accelerator(item, "activate", gAccelerators, key, a.ctrl ? GDK_CONTROL_MASK : GdkModifierType(0),
                                   GTK_ACCEL_VISIBLE);
    }
}

GtkWidget* MenuItem(const MenuEntry& entry) {
    // The accelerator text after the tab comes from the accelerator itself.
    std::string text = entry.text;
    const size_t tab = text.find('\t');
    if (tab != std::string::npos) text.resize(tab);
    const std::string label = GtkMnemonicText(text.c_str());
    GtkWidget* item = (entry.flags & MENU_CHECKABLE) != 0 ? gtk_check_menu_item_new_with_mnemonic(label.c_str())
                                                          : gtk_menu_item_new_with_mnemonic(label.c_str());
    if ((entry.flags & MENU_CHECKED) != 0) {
        g_object_set_data(G_OBJECT(item), kChecked, GINT_TO_POINTER(1));
        gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item), TRUE);
    }
    if ((entry.flags & MENU_GRAYED) != 0) gtk_widget_set_sensitive(item, FALSE);
    g_signal_connect(item, "activate", G_CALLBACK(OnItemActivated), GINT_TO_POINTER(entry.id));
    AddAccelerator(item, entry.id);
    gMenuItems[entry.id] = item;
    return item;
}

// Appends the entries from i up to the matching end to the menu; returns the index after it.
int BuildMenu(GtkWidget* menu, int i) {
    while (i < gParts.menuCount) {
        const MenuEntry& entry = gParts.menu[i++];
        switch (entry.kind) {
            case MENU_END:
                return i;
            case MENU_POPUP: {
                GtkWidget* item = gtk_menu_item_new_with_mnemonic(GtkMnemonicText(entry.text).c_str());
                GtkWidget* submenu = gtk_menu_new();
                gtk_menu_set_accel_group(GTK_MENU(submenu), gAccelerators);
                gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), submenu);
                if (GTK_IS_MENU_BAR(menu)) g_signal_connect(submenu, "show", G_CALLBACK(OnMenuShow), nullptr);
                gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
                i = BuildMenu(submenu, i);
                break;
            }
            case MENU_SEPARATOR:
                gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_separator_menu_item_new());
                break;
            case MENU_ITEM:
                gtk_menu_shell_append(GTK_MENU_SHELL(menu), MenuItem(entry));
                break;
            case MENU_RECENT_FILES:
                break;
        }
    }
    return i;
}

// Field n of the '|'-separated tip list.
std::string Tip(int n) {
    const char* p = gParts.toolbarTips;
    for (; n > 0 && p != nullptr; --n) {
        p = strchr(p, '|');
        if (p != nullptr) ++p;
    }
    if (p == nullptr) return std::string();
    const char* end = strchr(p, '|');
    return end != nullptr ? std::string(p, end) : std::string(p);
}

GtkWidget* BuildToolbar() {
    GtkWidget* toolbar = gtk_toolbar_new();
    gtk_toolbar_set_style(GTK_TOOLBAR(toolbar), GTK_TOOLBAR_ICONS);
    gtk_toolbar_set_icon_size(GTK_TOOLBAR(toolbar), GTK_ICON_SIZE_SMALL_TOOLBAR);
    for (int i = 0; i < gParts.toolbarCount; ++i) {
        const ToolbarEntry& entry = gParts.toolbar[i];
        GtkToolItem* item;
        if (entry.command == 0) {
            item = gtk_separator_tool_item_new();
        } else {
            const std::string tip = Tip(i);
            item = gtk_tool_button_new(ToolbarImage(entry.image), tip.c_str());
            gtk_tool_item_set_tooltip_text(item, tip.c_str());
            g_signal_connect(item, "clicked", G_CALLBACK(OnToolClicked), GINT_TO_POINTER(entry.command));
            gToolButtons[entry.command] = GTK_WIDGET(item);
        }
        gtk_toolbar_insert(GTK_TOOLBAR(toolbar), item, -1);
    }
    return toolbar;
}

// Minimising is the window manager's to do, in its own time, and it passes the focus on
// after. A playback that starts at once would type its first keys into this window; the
// system this program was born on minimises before it returns. Wait for it, briefly.
void WaitUntilMinimised() {
#ifdef GDK_WINDOWING_X11
    const gint64 kLongestWait = 500 * 1000;
    GdkWindow* window = gtk_widget_get_window(gWindow);
    if (window == nullptr || !GDK_IS_X11_WINDOW(window)) return;
    Display* display = GDK_WINDOW_XDISPLAY(window);
    const Window own = GDK_WINDOW_XID(window);
    XFlush(display);
    const gint64 deadline = g_get_monotonic_time() + kLongestWait;
    while (g_get_monotonic_time() < deadline) {
        XWindowAttributes attributes;
        Window focus = None;
        int revert = 0;
        if (!XGetWindowAttributes(display, own, &attributes)) return;
        XGetInputFocus(display, &focus, &revert);
        if (attributes.map_state != IsViewable && focus != own && focus != None && focus != PointerRoot) return;
        g_usleep(10 * 1000);
    }
#endif
}

GtkWidget* Find(const std::map<int, GtkWidget*>& widgets, int id) {
    auto it = widgets.find(id);
    return it != widgets.end() ? it->second : nullptr;
}

}  // namespace

bool GtkCreateMainWindow(const KelmorWindowParts* parts) {
    if (gWindow != nullptr || parts == nullptr || !GtkFaceStart()) return false;
    gParts = *parts;
    GtkDialogSetFunctionKeys(GtkRunFunctionKeyCommand);
    gWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(gWindow), "Kelmor");
    // A small tool window of fixed size: it is as large as its panes need and no larger.
    gtk_window_set_resizable(GTK_WINDOW(gWindow), FALSE);
    g_signal_connect(gWindow, "delete-event", G_CALLBACK(OnDelete), nullptr);
    // Ahead of the focused control and of the tab strip's own keys.
    g_signal_connect(gWindow, "key-press-event", G_CALLBACK(OnKeyPress), nullptr);
    // Bringing back the window minimised for a recording ends the recording.
    g_signal_connect(gWindow, "focus-in-event", G_CALLBACK(OnFocusIn), nullptr);
    gAccelerators = gtk_accel_group_new();
    gtk_window_add_accel_group(GTK_WINDOW(gWindow), gAccelerators);

    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    GtkWidget* menuBar = gtk_menu_bar_new();
    BuildMenu(menuBar, 0);
    gtk_box_pack_start(GTK_BOX(box), menuBar, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(box), BuildToolbar(), FALSE, FALSE, 0);
    gPanes = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_container_set_border_width(GTK_CONTAINER(gPanes), 4);
    gtk_box_pack_start(GTK_BOX(box), gPanes, TRUE, TRUE, 0);
    gtk_container_add(GTK_CONTAINER(gWindow), box);
    gtk_widget_show_all(box);
    gtk_widget_realize(gWindow);
    if (GdkWindow* window = gtk_widget_get_window(gWindow)) gdk_window_add_filter(window, OnWindowEvent, nullptr);
    GtkDialogSetChildHome(gPanes);
    return gParts.panes == nullptr || GtkDialogCreate(gParts.panes, gParts.paneProc);
}

void GtkShowMainWindow(int showCommand) {
    if (gWindow == nullptr) return;
    switch (showCommand) {
        case SW_HIDE:
            if (gtk_widget_get_visible(gWindow)) {
                gtk_window_get_position(GTK_WINDOW(gWindow), &gHiddenX, &gHiddenY);
                gHiddenPlaced = true;
            }
            gtk_widget_hide(gWindow);
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            gtk_widget_show(gWindow);
            gtk_window_iconify(GTK_WINDOW(gWindow));
            WaitUntilMinimised();
            break;
        case SW_SHOWNA:
            gtk_window_set_focus_on_map(GTK_WINDOW(gWindow), FALSE);
            gtk_widget_show(gWindow);
            gtk_window_set_focus_on_map(GTK_WINDOW(gWindow), TRUE);
            break;
        default:
            gtk_window_deiconify(GTK_WINDOW(gWindow));
            gtk_window_present(GTK_WINDOW(gWindow));
            break;
    }
}

bool GtkIsMainWindowVisible() { return gWindow != nullptr && gtk_widget_get_visible(gWindow); }

bool GtkIsMainWindowMinimized() {
    GdkWindow* window = gWindow != nullptr ? gtk_widget_get_window(gWindow) : nullptr;
    return window != nullptr && (gdk_window_get_state(window) & GDK_WINDOW_STATE_ICONIFIED) != 0;
}

void GtkSetWindowTitle(const char* title) {
    if (gWindow == nullptr) return;
    gchar* valid = g_utf8_make_valid(title != nullptr ? title : "", -1);
    gtk_window_set_title(GTK_WINDOW(gWindow), valid);
    g_free(valid);
}

bool GtkGetMainWindowPosition(int32_t* left, int32_t* top) {
    // A display that is gone tells no place: the one read at the start stays.
    if (gWindow == nullptr || GtkDisplayLost()) return false;
    gint x = gHiddenX;
    gint y = gHiddenY;
    if (gtk_widget_get_visible(gWindow)) {
        gtk_window_get_position(GTK_WINDOW(gWindow), &x, &y);
    } else if (!gHiddenPlaced) {
        return false;
    }
    *left = x;
    *top = y;
    return true;
}

void GtkMoveMainWindow(int32_t left, int32_t top) {
    if (gWindow == nullptr) return;
    gtk_window_move(GTK_WINDOW(gWindow), left, top);
    if (!gtk_widget_get_visible(gWindow)) {
        gHiddenX = left;
        gHiddenY = top;
        gHiddenPlaced = true;
    }
}

void GtkEnableCommand(int id, bool enable) {
    if (GtkWidget* item = Find(gMenuItems, id)) gtk_widget_set_sensitive(item, enable);
    if (GtkWidget* button = Find(gToolButtons, id)) {
        gtk_widget_set_sensitive(button, enable);
        // Themes dim the icons they load themselves, not images drawn by the program.
        GtkWidget* image = gtk_tool_button_get_icon_widget(GTK_TOOL_BUTTON(button));
        if (image != nullptr) gtk_widget_set_opacity(image, enable ? 1.0 : 0.35);
    }
}

void GtkCheckCommand(int id, bool check) {
    GtkWidget* item = Find(gMenuItems, id);
    if (item == nullptr || !GTK_IS_CHECK_MENU_ITEM(item)) return;
    g_object_set_data(G_OBJECT(item), kChecked, check ? GINT_TO_POINTER(1) : nullptr);
    gSettingCheck = true;
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item), check);
    gSettingCheck = false;
}

bool GtkMenuInsertAfter(int anchorId, int newId, const char* text) {
    GtkWidget* anchor = Find(gMenuItems, anchorId);
    if (anchor == nullptr || Find(gMenuItems, newId) != nullptr) return false;
    GtkWidget* menu = gtk_widget_get_parent(anchor);
    GList* children = gtk_container_get_children(GTK_CONTAINER(menu));
    const int position = g_list_index(children, anchor);
    g_list_free(children);
    // File names: shown as they are, with no mnemonic made of an underscore.
    gchar* valid = g_utf8_make_valid(text != nullptr ? text : "", -1);
    GtkWidget* item = gtk_menu_item_new_with_label(valid);
    g_free(valid);
    g_signal_connect(item, "activate", G_CALLBACK(OnItemActivated), GINT_TO_POINTER(newId));
    gtk_menu_shell_insert(GTK_MENU_SHELL(menu), item, position + 1);
    gtk_widget_show(item);
    gMenuItems[newId] = item;
    return true;
}

bool GtkMenuDeleteItem(int id) {
    GtkWidget* item = Find(gMenuItems, id);
    if (item == nullptr) return false;
    gMenuItems.erase(id);
    gtk_widget_destroy(item);
    return true;
}

GtkWindow* GtkMainWindowAsParent() { return gWindow != nullptr ? GTK_WINDOW(gWindow) : nullptr; }

void GtkSetMainWindowTopmost(bool topmost) {
    if (gWindow != nullptr) gtk_window_set_keep_above(GTK_WINDOW(gWindow), topmost ? TRUE : FALSE);
}

void GtkShowPanes(bool shown) {
    if (gPanes == nullptr || gtk_widget_get_visible(gPanes) == (shown ? TRUE : FALSE)) return;
    // A window that cannot be resized by the user takes the size its contents ask for,
    // so it shrinks to the menu and toolbar and grows back by itself; folded, it keeps
    // the width the panes gave it.
    GtkWidget* content = gtk_widget_get_parent(gPanes);
    gint width = -1;
    if (!shown) gtk_widget_get_preferred_width(content, nullptr, &width);
    gtk_widget_set_size_request(content, width, -1);
    gtk_widget_set_visible(gPanes, shown ? TRUE : FALSE);
    if (!shown) gtk_window_resize(GTK_WINDOW(gWindow), 1, 1);
}

void GtkSetMenuOpenHandler(void (*onMenuOpen)()) { gOnMenuOpen = onMenuOpen; }

bool GtkRunFunctionKeyCommand(guint keyval) {
    if (gWindow == nullptr) return false;
    for (int i = 0; i < gParts.acceleratorCount; ++i) {
        const Accelerator& a = gParts.accelerators[i];
        if (a.ctrl || a.key < kVirtualKeyF1 || a.key > kVirtualKeyF24 || KeyOfVirtualKey(a.key) != keyval) continue;
        gParts.onCommand(a.command);
        return true;
    }
    return false;
}
