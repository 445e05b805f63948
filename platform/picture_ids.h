// Icon and bitmap resources the back ends provide: the icon message box, the main window,
// the pictures of the gadgets and the About box. The program asks for them by these ids.
#pragma once

enum IconId {
    // The program's own icon: window class, notices such as New Recording.
    IDI_KELMOR = 1000,
    // The notice that the program now lives in the tray.
    IDI_TRAY_MESSAGE = 1005,
};

enum BitmapId {
    IDB_ADD_SHORTTYPE = 1007,
    IDB_ADD_MAPPING = 1008,
    // The Mouse Coordinates tool's picture: waiting to be pressed, and while it holds the pointer.
    IDB_MOUSE_TOOL = 1009,
    IDB_MOUSE_TOOL_CAPTURING = 1010,
    IDB_ABOUT_LOGO = 1012,
    IDB_DELETE_MAPPING = 1013,
    IDB_DELETE_SHORTTYPE = 1014,
    IDB_HELP_GADGET = 1015,
};
