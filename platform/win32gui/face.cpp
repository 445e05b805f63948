#include "platform/win32gui/main_window.h"
#include "platform/win32gui/tray_icon.h"
#include "platform/win32gui/win32gui.h"

const KelmorFace* Win32Face() {
    static KelmorFace face;
    if (face.size == 0) {
        face.size = sizeof face;
        face.version = KELMOR_FACE_VERSION;
        face.createMainWindow = Win32CreateMainWindow;
        face.showMainWindow = Win32ShowMainWindow;
        face.isMainWindowVisible = Win32IsMainWindowVisible;
        face.isMainWindowMinimized = Win32IsMainWindowMinimized;
        face.setWindowTitle = Win32SetWindowTitle;
        face.enableCommand = Win32EnableCommand;
        face.checkMenuItem = Win32CheckMenuItem;
        face.menuInsertAfter = Win32MenuInsertAfterItem;
        face.menuDeleteItem = Win32MenuDeleteItem;
        face.getMainWindowPosition = Win32GetMainWindowPosition;
        face.moveMainWindow = Win32MoveMainWindow;
        face.openUri = Win32OpenUri;
        face.addTrayIcon = Win32AddTrayIcon;
        face.setTrayIcon = Win32SetTrayIcon;
        face.removeTrayIcon = Win32RemoveTrayIcon;
        face.isTrayIconReachable = Win32IsTrayIconReachable;
        face.trackTrayMenu = Win32TrackTrayMenu;
        face.setMainWindowTopmost = Win32SetMainWindowTopmost;
        face.showPanes = Win32ShowPanes;
        face.setMenuOpenHandler = Win32SetMenuOpenHandler;
        face.setDisplayLostHandler = Win32SetDisplayLostHandler;
        face.setWording = Win32SetWording;
        Win32FillDialogFace(&face);
    }
    return &face;
}
