// Other programs' top-level windows on Windows.
#include "platform/win32/windows_api.h"

#include "platform/desktop.h"

namespace {

// Window handles are 32 bits wide on every Windows, as recordings store them; 64-bit
// Windows widens one by its sign, as its 32-bit programs' handles are widened.
HWND Handle(HWND32 window) { return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(window))); }
HWND32 Id(HWND window) { return static_cast<HWND32>(reinterpret_cast<uintptr_t>(window)); }

struct Listing {
    HWND32* out;
    int max;
    int count;
    bool hidden;
};

BOOL CALLBACK ListWindow(HWND window, LPARAM data) {
    Listing* listing = reinterpret_cast<Listing*>(data);
    const bool shown = IsWindowVisible(window) || IsIconic(window);
    if (shown != listing->hidden && listing->count < listing->max) listing->out[listing->count++] = Id(window);
    return listing->count < listing->max;
}

int List(HWND32* out, int max, bool hidden) {
    if (out == nullptr || max <= 0) return 0;
    Listing listing = {out, max, 0, hidden};
    EnumWindows(ListWindow, reinterpret_cast<LPARAM>(&listing));
    return listing.count;
}

int Text(int length, char* out, int size) {
    if (out == nullptr || size <= 0) return 0;
    if (length < 0) length = 0;
    if (length > size - 1) length = size - 1;
    out[length] = '\0';
    return length;
}

}  // namespace

int SysEnumTopLevelWindows(HWND32* out, int max) { return List(out, max, false); }

int SysEnumHiddenTopLevelWindows(HWND32* out, int max) { return List(out, max, true); }

int SysGetWindowText(HWND32 window, char* out, int size) {
    if (out == nullptr || size <= 0) return 0;
    return Text(GetWindowTextA(Handle(window), out, size), out, size);
}

int SysGetWindowClass(HWND32 window, char* out, int size) {
    if (out == nullptr || size <= 0) return 0;
    return Text(GetClassNameA(Handle(window), out, size), out, size);
}

bool SysIsWindowMinimized(HWND32 window) { return IsIconic(Handle(window)) != FALSE; }

bool SysShowWindow(HWND32 window, int showCommand) {
    if (!IsWindow(Handle(window))) return false;
    ShowWindow(Handle(window), showCommand);
    return true;
}

bool SysActivateWindow(HWND32 window) {
    HWND target = Handle(window);
    if (!IsWindow(target)) return false;
    // The system hands the foreground only to the program that has the user's last
    // input; joining the foreground thread's input for the moment makes this one that.
    const DWORD own = GetCurrentThreadId();
    const DWORD foreground = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const bool attached = foreground != 0 && foreground != own && AttachThreadInput(own, foreground, TRUE);
    BringWindowToTop(target);
    const bool done = SetForegroundWindow(target) != FALSE;
    SetFocus(target);
    if (attached) AttachThreadInput(own, foreground, FALSE);
    return done;
}

bool SysGetWindowRect(HWND32 window, RECT32* out) {
    RECT rect;
    if (out == nullptr || !GetWindowRect(Handle(window), &rect)) return false;
    *out = RECT32{rect.left, rect.top, rect.right, rect.bottom};
    return true;
}

HWND32 SysGetForegroundWindow() { return Id(GetForegroundWindow()); }

bool SysGetScreenSize(int32_t* width, int32_t* height) {
    *width = GetSystemMetrics(SM_CXSCREEN);
    *height = GetSystemMetrics(SM_CYSCREEN);
    return *width > 0 && *height > 0;
}

bool SysIsOwnWindow(HWND32 window) {
    DWORD process = 0;
    return GetWindowThreadProcessId(Handle(window), &process) != 0 && process == GetCurrentProcessId();
}

bool SysGetCursorPos(int32_t* x, int32_t* y) {
    POINT point;
    if (!GetCursorPos(&point)) return false;
    *x = point.x;
    *y = point.y;
    return true;
}

bool SysWindowAtPoint(int32_t x, int32_t y, bool topLevel, char* title, int titleSize, RECT32* rect) {
    HWND window = WindowFromPoint(POINT{x, y});
    if (topLevel && window != nullptr) window = GetAncestor(window, GA_ROOT);
    // The innermost window there that has a title.
    while (window != nullptr && GetWindowTextLengthA(window) == 0) window = GetParent(window);
    if (window == nullptr || SysGetWindowText(Id(window), title, titleSize) == 0) return false;
    return SysGetWindowRect(Id(window), rect);
}
