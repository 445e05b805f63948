// What the Windows dialogs keep of each open dialog and control, shared by the files that
// build them (dialog_build.cpp) and those that act on them (dialog.cpp, dialog_controls.cpp,
// dialog_input.cpp).
// No containers of the C++ library: their failure paths would link in its exception
// machinery, more than the whole face, into a program that must stay small.
#pragma once
#include "platform/desktop.h"
#include "platform/win32gui/win32gui.h"

struct WinControl {
    int id;
    ControlKind kind;
    uint16_t flags;
    uint8_t pages;     // the tab strip's pages it sits on; 0: always there
    HWND hwnd;         // nullptr for a frame, which the dialog's own ground stands for
    HWND marks[4];     // a slider's mark labels, shown and enabled with it
    int markCount;
    HWND tip;          // a gadget's tool tip
    bool wanted;       // shown unless the core hid it (DialogShow)
    bool visited;      // a link opened (DialogCheck)
    int position;      // a slider's last reported position
};

struct WinDialog {
    int id;
    DialogProc proc;
    HWND hwnd;
    bool modal;
    bool ended;
    int result;
    HFONT bold;
    HFONT underlined;
    WinControl* controls;  // as many as its description has
    int controlCount;
};

// Makes the dialog window and its controls laid out as the description says; nullptr when
// the system refuses the window.
HWND WinBuildDialog(WinDialog* d, const DialogDescription* description, HWND parent, DLGPROC proc);
// Shows the controls of the tab strip's current page and hides the others.
void WinShowCurrentPage(WinDialog* d);

WinDialog* WinFindDialog(int dialog);
void WinDialogEnd(int dialog, int result);
// The open dialog whose window this is; nullptr for any other window.
WinDialog* WinDialogByWindow(HWND w);
WinControl* WinFindControl(int dialog, int control);
// Tells the dialog's procedure, unless the program itself is changing a control.
void WinNotify(int dialog, int control, int notification);
// Set while the program changes a control: as on every desktop, changes made by the
// program are not reported back as a person's.
extern int gWinQuiet;
struct WinQuiet {
    WinQuiet() { ++gWinQuiet; }
    ~WinQuiet() { --gWinQuiet; }
};

// Picture and gadget controls, entry fields and the pointer hold (dialog_input.cpp).
// text: the description's, a gadget's tool tip.
void WinSubclassControl(WinDialog* d, WinControl* c, const char* text);
// A tool tip from the description's tips (a gadget has its own already).
void WinAddTip(WinControl* c, const char* text);
void WinCapturePointer(int dialog, int control, bool capture);

// The window a new modal dialog or box belongs to: the innermost open modal dialog, else the
// main window (Win32SetDialogOwner); nullptr when there is neither.
HWND WinDialogOwner();
// The calls on controls (dialog_controls.cpp).
void WinFillControlFace(KelmorFace* face);
// The message box, file dialogs and clipboard of the face (boxes.cpp).
void Win32FillBoxFace(KelmorFace* face);
