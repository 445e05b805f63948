// Message boxes of the kelmor program: GTK message dialogs without a parent, with the
// buttons, icon and default button the style asks for, answered by the user.

#include "platform/gtk/message_box.h"

#include <gtk/gtk.h>

#include "platform/gtk/key_focus.h"
#include "platform/gtk/theme_marks.h"
#include "platform/gtk/tray_images.h"
#include "platform/picture_ids.h"
#include "platform/message_box.h"
#include "platform/wintypes.h"

namespace {

bool gGtkReady = false;
bool gGtkTried = false;

// The program's icons are the tray's drawn pictures; the tray notice shows the program's.
GdkPixbuf* ProgramIcon(int iconId, int size) {
    return TrayImage(iconId == IDI_TRAY_MESSAGE ? IDI_KELMOR : iconId, size);
}

// Every window of the program, the main window included, carries the program's icon.
void SetDefaultIcon() {
    GList* icons = nullptr;
    static const int kSizes[] = {16, 32, 48};
    for (int size : kSizes) icons = g_list_append(icons, ProgramIcon(IDI_KELMOR, size));
    gtk_window_set_default_icon_list(icons);
    g_list_free_full(icons, g_object_unref);
}

GtkMessageType MessageType(uint32_t style) {
    if (style & MB_USERICON) return GTK_MESSAGE_OTHER;
    switch (style & MB_ICONMASK) {
        case MB_ICONHAND: return GTK_MESSAGE_ERROR;
        case MB_ICONQUESTION: return GTK_MESSAGE_QUESTION;
        case MB_ICONEXCLAMATION: return GTK_MESSAGE_WARNING;
        case MB_ICONINFORMATION: return GTK_MESSAGE_INFO;
        default: return GTK_MESSAGE_OTHER;
    }
}

// GTK's message dialogs no longer draw the icon of their type; the style asks for one.
const char* TypeIconName(GtkMessageType type) {
    switch (type) {
        case GTK_MESSAGE_ERROR: return "dialog-error";
        case GTK_MESSAGE_QUESTION: return "dialog-question";
        case GTK_MESSAGE_WARNING: return "dialog-warning";
        case GTK_MESSAGE_INFO: return "dialog-information";
        default: return nullptr;
    }
}

const char* ButtonLabel(int answer) {
    switch (answer) {
        case IDCANCEL: return "_Cancel";
        case IDABORT: return "_Abort";
        case IDRETRY: return "_Retry";
        case IDIGNORE: return "_Ignore";
        case IDYES: return "_Yes";
        case IDNO: return "_No";
        default: return "_OK";
    }
}

// The answer of a box closed by its window frame or Escape: Cancel where there is one;
// else the answer that changes nothing (No, Abort), or OK for a box that only informs.
int ClosedAnswer(const int* buttons, int count) {
    int fallback = buttons[0];
    for (int i = 0; i < count; ++i) {
        if (buttons[i] == IDCANCEL) return IDCANCEL;
        if (buttons[i] == IDNO || buttons[i] == IDABORT) fallback = buttons[i];
    }
    return fallback;
}

// Dialog texts must be UTF-8; a file name in some other encoding must still show.
gchar* DisplayText(const char* text) {
    gchar* valid = g_utf8_make_valid(text != nullptr ? text : "", -1);
    // Line ends written for the log (CR LF) would show as stray glyphs.
    gchar* out = valid;
    for (gchar* p = valid; *p != '\0'; ++p) {
        if (*p != '\r') *out++ = *p;
    }
    *out = '\0';
    return valid;
}

}  // namespace

bool GtkFaceStart() {
    if (!gGtkTried) {
        gGtkTried = true;
        // The class other programs find the window by (a second start, a window manager).
        gdk_set_program_class("Kelmor");
        gGtkReady = gtk_init_check(nullptr, nullptr);
        if (gGtkReady) {
            // The text library reads the font configuration on a thread of its own once its
            // font map exists. Made here, that reading runs beside the theme's style sheet
            // instead of holding up the window's first layout (about 10 ms at start-up).
            // Made before the display is opened, it competes with it and gains nothing.
            pango_cairo_font_map_get_default();
            UseBitmapThemeMarks();
            SetDefaultIcon();
            GtkKeepKeysForRealizedFocus();
        }
    }
    return gGtkReady;
}

int GtkMessageBox(const char* text, const char* caption, uint32_t style, int iconId) {
    if (!GtkFaceStart()) return 0;
    int buttons[3];
    const int count = MessageBoxButtons(style, buttons);
    gchar* body = DisplayText(text);
    GtkWidget* dialog =
        gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, MessageType(style), GTK_BUTTONS_NONE, "%s", body);
    g_free(body);
    gchar* title = DisplayText(caption != nullptr ? caption : "Error");
    gtk_window_set_title(GTK_WINDOW(dialog), title);
    // A box of a hidden playback is not the main window that a second start looks for by
    // its class. GTK keeps the call working although it would rather set the class once.
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_window_set_wmclass(GTK_WINDOW(dialog), "kelmor", "Kelmor-box");
    G_GNUC_END_IGNORE_DEPRECATIONS
    g_free(title);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    if (style & (MB_TOPMOST | MB_SYSTEMMODAL)) gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    const char* iconName = (style & MB_USERICON) ? nullptr : TypeIconName(MessageType(style));
    GtkWidget* image = nullptr;
    if (style & MB_USERICON) {
        GdkPixbuf* picture = ProgramIcon(iconId, 48);
        image = gtk_image_new_from_pixbuf(picture);
        g_object_unref(picture);
    } else if (iconName != nullptr) {
        image = gtk_image_new_from_icon_name(iconName, GTK_ICON_SIZE_DIALOG);
    }
    if (image != nullptr) {
        gtk_widget_show(image);
        // The message dialog's own image slot; GTK keeps it working although it would
        // rather have applications lay out their own dialogs.
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        gtk_message_dialog_set_image(GTK_MESSAGE_DIALOG(dialog), image);
        G_GNUC_END_IGNORE_DEPRECATIONS
    }
    for (int i = 0; i < count; ++i) gtk_dialog_add_button(GTK_DIALOG(dialog), ButtonLabel(buttons[i]), buttons[i]);
    const int defaultAnswer = MessageBoxDefaultAnswer(style);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), defaultAnswer);
    GtkWidget* defaultButton = gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), defaultAnswer);
    if (defaultButton != nullptr) gtk_widget_grab_focus(defaultButton);
    const int response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    for (int i = 0; i < count; ++i) {
        if (response == buttons[i]) return response;
    }
    return ClosedAnswer(buttons, count);
}
