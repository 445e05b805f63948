// The program's face: its dialogs (and, later, its window) live in a module of their own
// (libkelmor-gtk.so on X11) that only the interactive run mode and a message box load,
// so that playing from the command line never loads the toolkit. The module exports one
// C function, KelmorFaceEntry, that returns this table.
//
// Fields are only ever added at the end: size tells the program which ones a module
// has. version changes when an existing field's meaning does, and a program refuses a
// module of another version (a stale module left beside a newer program).
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/dialog.h"
#include "platform/tray_icon.h"

struct Accelerator;
struct MenuEntry;
struct ToolbarEntry;
struct TrayMenuItem;

// What the program builds its main window from: the descriptions of ui/ and where the
// window's own events go.
struct KelmorWindowParts {
    const MenuEntry* menu;
    int menuCount;
    const Accelerator* accelerators;
    int acceleratorCount;
    const ToolbarEntry* toolbar;
    int toolbarCount;
    const char* toolbarTips;  // one '|'-separated field per toolbar position
    const DialogDescription* panes;
    DialogProc paneProc;
    // A menu item, an accelerator or a toolbar button was chosen.
    void (*onCommand)(int id);
    // The window's close button: the core decides whether the window goes (true) or stays.
    bool (*onClose)();
    // A key pressed in the window (virtual-key code, Ctrl held) before the focused control
    // sees it; true when the program took it.
    bool (*onKey)(int virtualKey, bool ctrl);
    // The window got the keyboard focus (a person brought it back or clicked it).
    void (*onFocus)();
};

#define KELMOR_FACE_VERSION 1u
#define KELMOR_FACE_ENTRY "KelmorFaceEntry"

struct KelmorFace {
    uint32_t size;
    uint32_t version;
    // Shows a message box (MB_* style; iconId for MB_USERICON) and returns the ID* answer
    // of the button pressed; 0 when no box can be shown (no display).
    int (*messageBox)(const char* text, const char* caption, uint32_t style, int iconId);

    // The main window (platform/window.h); false from createMainWindow when it cannot be
    // made (no display). The window is created hidden.
    bool (*createMainWindow)(const KelmorWindowParts* parts);
    void (*showMainWindow)(int showCommand);
    bool (*isMainWindowVisible)();
    bool (*isMainWindowMinimized)();
    void (*setWindowTitle)(const char* title);
    void (*enableCommand)(int id, bool enable);
    void (*checkMenuItem)(int id, bool check);
    bool (*menuInsertAfter)(int anchorId, int newId, const char* text);
    bool (*menuDeleteItem)(int id);

    // Dialogs and their controls (platform/dialog.h).
    int (*dialogRun)(const DialogDescription* description, DialogProc proc);
    bool (*dialogCreate)(const DialogDescription* description, DialogProc proc);
    void (*dialogEnd)(int dialog, int result);
    void (*dialogSetText)(int dialog, int control, const char* text);
    int (*dialogGetText)(int dialog, int control, char* out, int size);
    void (*dialogCheck)(int dialog, int control, bool checked);
    bool (*dialogIsChecked)(int dialog, int control);
    void (*dialogEnable)(int dialog, int control, bool enabled);
    void (*dialogShow)(int dialog, int control, bool shown);
    void (*dialogFocus)(int dialog, int control);
    int (*dialogListAdd)(int dialog, int control, const char* text);
    bool (*dialogListRemove)(int dialog, int control, int index);
    void (*dialogListSelect)(int dialog, int control, int index);
    int (*dialogListSelection)(int dialog, int control);
    int (*dialogListCount)(int dialog, int control);
    int (*dialogListGetText)(int dialog, int control, int index, char* out, int size);
    // The open and save file dialogs (platform/message_box.h), owned by the main window.
    bool (*fileDialog)(bool save, char* name, int nameSize, const char* filters, int filterIndex, int* chosenFilter);
    // The main window's place (platform/window.h).
    bool (*getMainWindowPosition)(int32_t* left, int32_t* top);
    void (*moveMainWindow)(int32_t left, int32_t top);
    // Opening a URI with the desktop's default handler (platform/window.h).
    bool (*openUri)(const char* uri);
    // A picture or gadget control's bitmap (platform/dialog.h).
    void (*dialogSetImage)(int dialog, int control, int bitmapId);
    // The tray icon and its menu (platform/window.h); the icon's events (TRAY_EVENT_*)
    // go to onEvent.
    bool (*addTrayIcon)(int code, const char* tip, void (*onEvent)(int event));
    void (*setTrayIcon)(int code, const char* tip);
    void (*removeTrayIcon)();
    bool (*isTrayIconReachable)();
    int (*trackTrayMenu)(const TrayMenuItem* items, int count);
    // Keeps the main window above others, or not (platform/window.h).
    void (*setMainWindowTopmost)(bool topmost);
    // Shows or hides the panes; the fixed-size window follows their size.
    void (*showPanes)(bool shown);
    // Called when a menu of the menu bar opens, before it shows.
    void (*setMenuOpenHandler)(void (*onMenuOpen)());
    // Called once when the connection to the display is lost (the session ended); the
    // program exits when it returns.
    void (*setDisplayLostHandler)(void (*onDisplayLost)());
    // How the program words a label for this platform (a label naming a Windows-only
    // thing reads as this desktop says it); labels are shown as they are until it is set.
    void (*setWording)(const char* (*wording)(const char* text));
    // A slider control's position (platform/dialog.h).
    void (*dialogSetPosition)(int dialog, int control, int position);
    int (*dialogGetPosition)(int dialog, int control);
    // A control holding the pointer, or giving it back (platform/dialog.h).
    void (*dialogCapturePointer)(int dialog, int control, bool capture);
    // Text put on the clipboard (platform/clipboard.h).
    bool (*setClipboardText)(const char* text);
    // The program is ending: what it put on the clipboard goes to those that keep it
    // (platform/clipboard.h).
    void (*letGoOfClipboard)();
    // A drop-down list's width when open (platform/dialog.h).
    void (*dialogFitDropDown)(int dialog, int control, int limit);
    // The focused control, and the selection of a field (platform/dialog.h).
    int (*dialogGetFocus)(int dialog);
    void (*dialogGetSelection)(int dialog, int control, int* start, int* end);
    void (*dialogSetSelection)(int dialog, int control, int start, int end);
    // Whether a dialog is open (platform/dialog.h).
    bool (*dialogIsOpen)(int dialog);
    // A file opened with the desktop's application for plain text (platform/window.h).
    bool (*openTextFile)(const char* path);
};

// True when the module's table has the field ending at fieldEnd and speaks this version.
inline bool FaceHas(const KelmorFace* face, size_t fieldEnd) {
    return face != nullptr && face->version == KELMOR_FACE_VERSION && face->size >= fieldEnd;
}
#define FACE_HAS(face, field) FaceHas(face, offsetof(KelmorFace, field) + sizeof(face)->field)

using KelmorFaceEntryFunction = const KelmorFace* (*)();
