// The main window: a small frame of fixed size with the menu bar, the toolbar and, below
// it, the panes (a child dialog of the dialog half). Its class is "Kelmor": a second start
// and the keyboard service find the running copy by it. A check mark belongs to the core,
// so choosing a check item does not toggle it by itself.
#include "platform/win32gui/main_window.h"

#include "platform/win32gui/common_controls.h"

#include <shellapi.h>

#include <cstdlib>

#include "platform/desktop.h"
#include "platform/picture_ids.h"
#include "platform/win32/come_forward.h"
#include "platform/win32/message_loop.h"
#include "platform/win32gui/file_uri.h"
#include "platform/win32gui/menu_bar.h"
#include "platform/win32gui/toolbar.h"
#include "platform/win32gui/tray_icon.h"
#include "platform/win32gui/win32gui.h"
#include "platform/window_parts.h"

namespace {

const char kClassName[] = "Kelmor";
const DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
const int kMaxAccelerators = 32;

HWND gWindow = nullptr;
HMENU gMenuBar = nullptr;
HWND gToolbar = nullptr;
HWND gPanes = nullptr;
HACCEL gAccelerators = nullptr;
// A second start's request to come forward (come_forward.h), registered with the class.
UINT gComeForward = 0;
KelmorWindowParts gParts;
void (*gOnMenuOpen)() = nullptr;
void (*gOnDisplayLost)() = nullptr;
const char* (*gWording)(const char* text) = nullptr;

// Shown as far as the window goes: IsWindowVisible is false for all of them while the
// window itself is hidden.
bool PanesShown() { return gPanes != nullptr && (GetWindowLongA(gPanes, GWL_STYLE) & WS_VISIBLE) != 0; }

int ToolbarHeight() {
    RECT bar = {};
    if (gToolbar == nullptr || !GetWindowRect(gToolbar, &bar)) return 0;
    return bar.bottom - bar.top;
}

// The frame is as large as the toolbar and the panes need, no larger; without the
// panes only the menu and the toolbar strip stay, as wide as before.
void FitToContents() {
    RECT client = {};
    GetClientRect(gWindow, &client);
    int width = client.right;
    int height = ToolbarHeight();
    if (gPanes != nullptr) {
        RECT panes = {};
        GetWindowRect(gPanes, &panes);
        SetWindowPos(gPanes, nullptr, 0, height, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (PanesShown()) {
            width = panes.right - panes.left;
            height += panes.bottom - panes.top;
        }
    }
    RECT frame = {0, 0, width, height};
    AdjustWindowRect(&frame, kStyle, TRUE);
    SetWindowPos(gWindow, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The menu bar may wrap to a second line in a narrow frame: measured once more.
    GetClientRect(gWindow, &client);
    const int missing = height - client.bottom;
    if (missing > 0) {
        SetWindowPos(gWindow, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + missing,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Seen before the focused control: Ctrl+PgUp and Ctrl+PgDn turn the panes' tabs, the
// accelerators, then the panes' keyboard navigation.
bool FilterMessage(MSG* message) {
    if (gWindow == nullptr) return false;
    const bool ours = message->hwnd == gWindow || IsChild(gWindow, message->hwnd);
    if (ours && message->message == WM_KEYDOWN && (message->wParam == VK_PRIOR || message->wParam == VK_NEXT) &&
        gParts.onKey != nullptr && gParts.onKey(static_cast<int>(message->wParam), GetKeyState(VK_CONTROL) < 0)) {
        return true;
    }
    if (ours && gAccelerators != nullptr && TranslateAcceleratorA(gWindow, gAccelerators, message)) return true;
    return Win32IsDialogMessage(message);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Win32OnTrayMessage(message, lParam)) return 0;
    if (message == gComeForward && gComeForward != 0) {
        // Shown anew, so that a window manager that keeps the focus where it is (as under
        // Wine) hands it to the window it maps; then the system's foreground.
        if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
        ShowWindow(window, SW_HIDE);
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        return 0;
    }
    switch (message) {
        case WM_COMMAND:
            // Menu items, accelerators, toolbar buttons and the commands others post.
            gParts.onCommand(LOWORD(wParam));
            return 0;
        case WM_NOTIFY:
            if (Win32FillToolbarTip(lParam, gParts)) return 0;
            break;
        case WM_CLOSE:
            // The exit step ends the program, and the window with it; staying is the core's call.
            gParts.onClose();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && gParts.onFocus != nullptr) gParts.onFocus();
            break;
        case WM_SETFOCUS:
            if (PanesShown()) {
                SetFocus(gPanes);
                return 0;
            }
            break;
        case WM_INITMENUPOPUP:
            if (HIWORD(lParam) == 0 && gOnMenuOpen != nullptr) gOnMenuOpen();
            return 0;
        case WM_SIZE:
            if (gToolbar != nullptr) SendMessageA(gToolbar, TB_AUTOSIZE, 0, 0);
            break;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The session ends under the program: the exit step runs, then out, as when
            // the display goes away on X11.
            if (wParam != 0) {
                if (gOnDisplayLost != nullptr) gOnDisplayLost();
                exit(EXIT_FAILURE);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Windows hands the foreground to the next window within the minimising call, Wine only
// once the window manager has focused that one: a playback started meanwhile would type
// its first keys into no window. Half a second at most.
void WaitForOtherForeground() {
    for (int waited = 0; waited < 500; waited += 10) {
        HWND foreground = GetForegroundWindow();
        if (foreground != nullptr && foreground != gWindow) return;
        Sleep(10);
    }
}

// A plain function key pressed in a modal dialog runs the window's command on it (F1).
bool RunFunctionKeyCommand(int virtualKey) {
    for (int i = 0; i < gParts.acceleratorCount; ++i) {
        const Accelerator& a = gParts.accelerators[i];
        if (a.ctrl || a.key != virtualKey || a.key < VK_F1 || a.key > VK_F24) continue;
        gParts.onCommand(a.command);
        return true;
    }
    return false;
}

struct OwnedPopups {
    HWND owner;
    HWND windows[32];
    int count;
};

BOOL CALLBACK CollectTopmostPopup(HWND window, LPARAM data) {
    OwnedPopups* popups = reinterpret_cast<OwnedPopups*>(data);
    if (GetWindow(window, GW_OWNER) == popups->owner && (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) {
        popups->windows[popups->count++] = window;
    }
    return popups->count < static_cast<int>(sizeof popups->windows / sizeof popups->windows[0]);
}

HACCEL BuildAccelerators() {
    ACCEL table[kMaxAccelerators];
    int count = 0;
    for (int i = 0; i < gParts.acceleratorCount && count < kMaxAccelerators; ++i) {
        const Accelerator& a = gParts.accelerators[i];
        table[count++] = ACCEL{static_cast<BYTE>(FVIRTKEY | (a.ctrl ? FCONTROL : 0)), a.key, a.command};
    }
    return count > 0 ? CreateAcceleratorTableA(table, count) : nullptr;
}

}  // namespace

bool Win32CreateMainWindow(const KelmorWindowParts* parts) {
    if (gWindow != nullptr || parts == nullptr) return false;
    gParts = *parts;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    gComeForward = RegisterWindowMessageA(kComeForwardMessage);
    windowClass.hIcon = Win32LoadIcon(IDI_KELMOR);
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExA(&windowClass) == 0) return false;
    gMenuBar = Win32BuildMenuBar(gParts.menu, gParts.menuCount, gWording);
    gWindow = CreateWindowExA(0, kClassName, "Kelmor", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 251, 235, nullptr,
                              gMenuBar, instance, nullptr);
    if (gWindow == nullptr) return false;
    gAccelerators = BuildAccelerators();
    gToolbar = Win32CreateToolbar(gWindow, gParts);
    Win32SetTrayWindow(gWindow);
    Win32SetDialogOwner(gWindow);
    Win32SetFunctionKeyCommand(RunFunctionKeyCommand);
    WinSetMessageFilter(FilterMessage);
    const KelmorFace* face = Win32Face();
    if (gParts.panes != nullptr) {
        if (!face->dialogCreate(gParts.panes, gParts.paneProc)) return false;
        gPanes = Win32DialogWindow(gParts.panes->id);
    }
    FitToContents();
    return true;
}

void Win32ShowMainWindow(int showCommand) {
    if (gWindow == nullptr) return;
    switch (showCommand) {
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            ShowWindow(gWindow, showCommand);
            WaitForOtherForeground();
            break;
        case SW_HIDE:
        case SW_SHOWNA:
            ShowWindow(gWindow, showCommand);
            break;
        default:
            ShowWindow(gWindow, IsIconic(gWindow) ? SW_RESTORE : showCommand);
            SetForegroundWindow(gWindow);
            break;
    }
}

bool Win32IsMainWindowVisible() { return gWindow != nullptr && IsWindowVisible(gWindow); }

bool Win32IsMainWindowMinimized() { return gWindow != nullptr && IsIconic(gWindow); }

void Win32SetWindowTitle(const char* title) {
    if (gWindow != nullptr) SetWindowTextA(gWindow, title != nullptr ? title : "");
}

void Win32EnableCommand(int id, bool enable) {
    if (gMenuBar != nullptr) EnableMenuItem(gMenuBar, static_cast<UINT>(id), MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
    if (gToolbar != nullptr) SendMessageA(gToolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(id), MAKELONG(enable, 0));
}

void Win32CheckMenuItem(int id, bool check) {
    if (gMenuBar != nullptr) CheckMenuItem(gMenuBar, static_cast<UINT>(id), MF_BYCOMMAND | (check ? MF_CHECKED : MF_UNCHECKED));
}

bool Win32MenuInsertAfterItem(int anchorId, int newId, const char* text) {
    return gMenuBar != nullptr && Win32MenuInsertAfter(gMenuBar, anchorId, newId, text);
}

bool Win32MenuDeleteItem(int id) {
    return gMenuBar != nullptr && DeleteMenu(gMenuBar, static_cast<UINT>(id), MF_BYCOMMAND) != FALSE;
}

bool Win32GetMainWindowPosition(int32_t* left, int32_t* top) {
    RECT frame = {};
    // A minimised window's rectangle is the icon's place, not the window's.
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (gWindow == nullptr || !GetWindowRect(gWindow, &frame)) return false;
    if (IsIconic(gWindow) && GetWindowPlacement(gWindow, &placement)) frame = placement.rcNormalPosition;
    *left = frame.left;
    *top = frame.top;
    return true;
}

void Win32MoveMainWindow(int32_t left, int32_t top) {
    if (gWindow != nullptr) SetWindowPos(gWindow, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32SetMainWindowTopmost(bool topmost) {
    if (gWindow == nullptr) return;
    // Wine places a window after its own pop-ups that are always on top (the tool tips)
    // rather than among the topmost windows, so that it never comes above the rest: they
    // are nobody's for that moment.
    OwnedPopups popups = {gWindow, {}, 0};
    if (topmost) EnumThreadWindows(GetCurrentThreadId(), CollectTopmostPopup, reinterpret_cast<LPARAM>(&popups));
    for (int i = 0; i < popups.count; ++i) SetWindowLongPtrA(popups.windows[i], GWLP_HWNDPARENT, 0);
    SetWindowPos(gWindow, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (int i = 0; i < popups.count; ++i) {
        SetWindowLongPtrA(popups.windows[i], GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(gWindow));
    }
}

void Win32ShowPanes(bool shown) {
    if (gPanes == nullptr || PanesShown() == shown) return;
    ShowWindow(gPanes, shown ? SW_SHOW : SW_HIDE);
    FitToContents();
}

void Win32SetMenuOpenHandler(void (*onMenuOpen)()) { gOnMenuOpen = onMenuOpen; }

void Win32SetDisplayLostHandler(void (*onDisplayLost)()) { gOnDisplayLost = onDisplayLost; }

void Win32SetWording(const char* (*wording)(const char* text)) { gWording = wording; }

bool Win32OpenUri(const char* uri) {
    // The system answers a number above 32 when the handler started.
    if (reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", uri, nullptr, nullptr, SW_SHOWNORMAL)) > 32) return true;
    // A shell that takes no file URI (Wine's) still opens the page by its path, at its
    // top: a topic is not worth a failure.
    char path[MAX_PATH];
    return Win32PathOfFileUri(uri, path, sizeof path) &&
           reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}
