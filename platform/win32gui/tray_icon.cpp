#include "platform/win32gui/tray_icon.h"

#include <shellapi.h>

#include <cstring>

#include "platform/tray_icon.h"
#include "platform/win32gui/win32gui.h"
#include "platform/window.h"

namespace {

const UINT kTrayMessage = WM_APP + 20;
const UINT kIconId = 1;

HWND gWindow = nullptr;
void (*gOnEvent)(int event) = nullptr;
// Wanted by the program, and shown by the taskbar (which may not be there yet).
bool gWanted = false;
bool gShown = false;
bool gTracking = false;
int gCode = 0;
char gTip[64] = "";
// The taskbar says so when it starts again (after a crash of the shell, or late at log-on):
// the icons it held are gone and are added once more.
UINT gTaskbarCreated = 0;

bool Notify(DWORD action) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = gWindow;
    data.uID = kIconId;
    if (action != NIM_DELETE) {
        data.uFlags = NIF_ICON | NIF_MESSAGE | (gTip[0] != '\0' ? NIF_TIP : 0);
        data.uCallbackMessage = kTrayMessage;
        data.hIcon = Win32TrayIcon(gCode);
        memcpy(data.szTip, gTip, sizeof gTip);
    }
    return Shell_NotifyIconA(action, &data) != FALSE;
}

void KeepTip(const char* tip) {
    const size_t length = tip != nullptr ? strnlen(tip, sizeof gTip - 1) : 0;
    if (length > 0) memcpy(gTip, tip, length);
    gTip[length] = '\0';
}

void Report(int event) {
    if (gOnEvent != nullptr) gOnEvent(event);
}

}  // namespace

void Win32SetTrayWindow(HWND window) {
    gWindow = window;
    if (gTaskbarCreated == 0) gTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
}

bool Win32AddTrayIcon(int code, const char* tip, void (*onEvent)(int event)) {
    Win32RemoveTrayIcon();
    gOnEvent = onEvent;
    gCode = code;
    KeepTip(tip);
    gWanted = gWindow != nullptr;
    gShown = gWanted && Notify(NIM_ADD);
    return gShown;
}

void Win32SetTrayIcon(int code, const char* tip) {
    if (!gWanted) return;
    gCode = code;
    KeepTip(tip);
    if (gShown) Notify(NIM_MODIFY);
}

void Win32RemoveTrayIcon() {
    if (gShown) Notify(NIM_DELETE);
    gShown = false;
    gWanted = false;
    gOnEvent = nullptr;
}

bool Win32IsTrayIconReachable() { return gShown; }

int Win32TrackTrayMenu(const TrayMenuItem* items, int count) {
    if (!gShown || gTracking) return 0;
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return 0;
    for (int i = 0; i < count; ++i) {
        if (items[i].id == 0) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuA(menu, MF_STRING | (items[i].enabled ? 0 : MF_GRAYED), static_cast<UINT_PTR>(items[i].id),
                        items[i].text);
        }
    }
    POINT pointer = {};
    GetCursorPos(&pointer);
    // In front, so that the menu closes when the person clicks elsewhere.
    SetForegroundWindow(gWindow);
    gTracking = true;
    const int chosen = static_cast<int>(TrackPopupMenu(menu, TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, pointer.x,
                                                       pointer.y, 0, gWindow, nullptr));
    gTracking = false;
    // Makes the menu's closing take effect before the next click on the icon.
    PostMessageA(gWindow, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return chosen;
}

bool Win32OnTrayMessage(UINT message, LPARAM lParam) {
    if (message == kTrayMessage) {
        // A second right click while the menu is open opens no second one.
        if (lParam == WM_LBUTTONDBLCLK) Report(TRAY_EVENT_DOUBLE_CLICK);
        if (lParam == WM_RBUTTONUP && !gTracking) Report(TRAY_EVENT_MENU);
        return true;
    }
    if (message != gTaskbarCreated || gTaskbarCreated == 0) return false;
    if (gWanted) gShown = Notify(NIM_ADD);
    return true;
}
