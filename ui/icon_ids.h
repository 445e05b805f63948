// Icon resources of the program, for the icon message box and the main window.
#pragma once

enum IconId {
    // The program's own icon: window class, notices such as New Recording.
    IDI_KELMOR = 1000,
};
