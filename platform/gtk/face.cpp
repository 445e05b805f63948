// The module's one export: the table of what the GTK face offers.
#include "platform/face.h"

#include "platform/gtk/clipboard.h"
#include "platform/gtk/dialog.h"
#include "platform/gtk/display_lost.h"
#include "platform/gtk/file_dialog.h"
#include "platform/gtk/main_window.h"
#include "platform/gtk/message_box.h"
#include "platform/gtk/open_uri.h"
#include "platform/gtk/tray_icon.h"

extern "C" __attribute__((visibility("default"))) const KelmorFace* KelmorFaceEntry() {
    static const KelmorFace face = {
        sizeof(KelmorFace),      KELMOR_FACE_VERSION,    GtkMessageBox,         GtkCreateMainWindow,
        GtkShowMainWindow,       GtkIsMainWindowVisible, GtkIsMainWindowMinimized, GtkSetWindowTitle,
        GtkEnableCommand,        GtkCheckCommand,       GtkMenuInsertAfter,    GtkMenuDeleteItem,
        GtkDialogRun,            GtkDialogCreate,        GtkDialogEnd,          GtkDialogSetText,
        GtkDialogGetText,        GtkDialogCheck,         GtkDialogIsChecked,    GtkDialogEnable,
        GtkDialogShow,           GtkDialogFocus,         GtkDialogListAdd,      GtkDialogListRemove,
        GtkDialogListSelect,     GtkDialogListSelection, GtkDialogListCount,    GtkDialogListGetText,  GtkFileDialog,
        GtkGetMainWindowPosition, GtkMoveMainWindow,
        GtkOpenUri,              GtkDialogSetImage,
        GtkAddTrayIcon,          GtkSetTrayIcon,         GtkRemoveTrayIcon,     GtkIsTrayIconReachable, GtkTrackTrayMenu,
        GtkSetMainWindowTopmost, GtkShowPanes,           GtkSetMenuOpenHandler, GtkSetDisplayLostHandler,
        GtkSetWording,
        GtkDialogSetPosition,    GtkDialogGetPosition,
        GtkDialogCapturePointer, GtkSetClipboardText, GtkLetGoOfClipboard,
        GtkDialogFitDropDown,
        GtkDialogGetFocus,       GtkDialogGetSelection,  GtkDialogSetSelection,
        GtkDialogIsOpen,         GtkOpenTextFile,
    };
    return &face;
}
