// Icon resources of the program, for the icon message box and the main window.
#pragma once

enum IconId {
    // The program's own icon: window class, notices such as New Recording.
    IDI_KELMOR = 1000,
    // The notice that the program now lives in the tray.
    IDI_TRAY_MESSAGE = 1005,
};
