// What a person does to the controls that the system's own classes do not report as the
// core wants: pictures pressed and gadgets released, the pointer held by a picture, and
// entry fields whose keys and characters go to the procedure instead of the field. Links
// share the pictures' hand.
#include "platform/win32gui/dialogs.h"

#include "platform/win32gui/common_controls.h"

namespace {

const UINT_PTR kSubclass = 1;

// The picture holding the pointer (DialogCapturePointer), and whom it tells.
HWND gCapturer = nullptr;
int gCaptureDialog = 0;
int gCaptureControl = 0;

struct Where {
    int dialog;
    int control;
};

void Release(int notification) {
    // Forgotten before the system is told, which reports its own loss of the hold.
    gCapturer = nullptr;
    ReleaseCapture();
    WinNotify(gCaptureDialog, gCaptureControl, notification);
}

LRESULT CALLBACK Picture(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    const auto* where = reinterpret_cast<const Where*>(data);
    switch (message) {
        case WM_SETCURSOR:
            // Pictures that act when clicked show the hand, as links do.
            SetCursor(LoadCursor(nullptr, IDC_HAND));
            return TRUE;
        case WM_MOUSEMOVE:
            if (w == gCapturer) WinNotify(gCaptureDialog, gCaptureControl, NOTIFY_POINTER_MOVED);
            break;
        case WM_LBUTTONUP:
            if (w == gCapturer) {
                Release(NOTIFY_POINTER_RELEASED);
                return 0;
            }
            break;
        // Another program or window took the pointer: the hold ends as a release does.
        case WM_CAPTURECHANGED:
            if (w == gCapturer && reinterpret_cast<HWND>(lParam) != w) Release(NOTIFY_POINTER_RELEASED);
            break;
        case WM_NCDESTROY:
            if (w == gCapturer) gCapturer = nullptr;
            RemoveWindowSubclass(w, Picture, kSubclass);
            delete where;
            break;
        default:
            break;
    }
    return DefSubclassProc(w, message, wParam, lParam);
}

bool Typed(WPARAM ch) { return ch == '\b' || (ch >= ' ' && ch < 127); }

// The edit field of an entry combo: only the procedure changes its text.
LRESULT CALLBACK Entry(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    const auto* where = reinterpret_cast<const Where*>(data);
    WinControl* c = WinFindControl(where->dialog, where->control);
    const bool allKeys = c != nullptr && (c->flags & CONTROL_ALL_KEYS) != 0;
    switch (message) {
        case WM_GETDLGCODE:
            // Tab, Enter and Esc too, where every key is the procedure's.
            if (allKeys) return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (allKeys) {
                WinNotify(where->dialog, where->control, NOTIFY_KEY + static_cast<int>(wParam));
                return 0;
            }
            // Deleting is the procedure's to do, as typing is; other keys keep their usual work.
            if (wParam == VK_DELETE) {
                if (GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
                    WinNotify(where->dialog, where->control, NOTIFY_CHAR + 0x7F);
                }
                return 0;
            }
            break;
        case WM_CHAR:
            // Ctrl and Alt combinations are no characters typed.
            if (Typed(wParam) && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
                WinNotify(where->dialog, where->control, NOTIFY_CHAR + static_cast<int>(wParam));
            }
            return 0;
        case WM_SYSCHAR:
            if (allKeys) return 0;
            break;
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
        case WM_UNDO:
            return 0;
        case WM_NCDESTROY:
            RemoveWindowSubclass(w, Entry, kSubclass);
            delete where;
            break;
        default:
            break;
    }
    return DefSubclassProc(w, message, wParam, lParam);
}

HWND EntryField(const WinControl* c) {
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(c->hwnd, &info) ? info.hwndItem : nullptr;
}

// A gadget's text is its tool tip; other controls have theirs from the description.
HWND AddTip(HWND w, const char* text) {
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                               GetParent(w), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (tip == nullptr) return nullptr;
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(w);
    tool.uId = reinterpret_cast<UINT_PTR>(w);
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    // The field of a drop-down list is a window of its own under the pointer.
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(w, &info) && info.hwndItem != nullptr) {
        tool.uId = reinterpret_cast<UINT_PTR>(info.hwndItem);
        tool.hwnd = w;
        SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    // Long tips wrap.
    SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 400);
    return tip;
}

}  // namespace

void WinAddTip(WinControl* c, const char* text) {
    if (c->hwnd != nullptr && c->tip == nullptr) c->tip = AddTip(c->hwnd, text);
}

void WinSubclassControl(WinDialog* d, WinControl* c, const char* text) {
    if (c->hwnd == nullptr) return;
    if (c->kind == CONTROL_PICTURE || c->kind == CONTROL_GADGET || c->kind == CONTROL_LINK) {
        SetWindowSubclass(c->hwnd, Picture, kSubclass, reinterpret_cast<DWORD_PTR>(new Where{d->id, c->id}));
    }
    if (c->kind == CONTROL_GADGET) c->tip = AddTip(c->hwnd, text);
    if (c->kind == CONTROL_COMBO && (c->flags & CONTROL_ENTRY)) {
        HWND field = EntryField(c);
        if (field != nullptr) SetWindowSubclass(field, Entry, kSubclass, reinterpret_cast<DWORD_PTR>(new Where{d->id, c->id}));
    }
}

void WinCapturePointer(int dialog, int control, bool capture) {
    if (gCapturer != nullptr) {
        gCapturer = nullptr;
        ReleaseCapture();
    }
    WinControl* c = WinFindControl(dialog, control);
    if (!capture || c == nullptr || c->hwnd == nullptr || !IsWindowVisible(c->hwnd)) return;
    gCaptureDialog = dialog;
    gCaptureControl = control;
    SetCapture(c->hwnd);
    gCapturer = c->hwnd;
    SetCursor(LoadCursor(nullptr, IDC_CROSS));
}

bool Win32IsDialogMessage(MSG* message) {
    // An entry field that takes every key gets them before any accelerator or dialog key.
    HWND focus = GetFocus();
    const bool key = message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN ||
                     message->message == WM_CHAR || message->message == WM_SYSCHAR;
    if (key && focus != nullptr && message->hwnd == focus) {
        const HWND combo = GetParent(focus);
        const WinDialog* d = WinDialogByWindow(GetParent(combo));
        const WinControl* c = d != nullptr ? WinFindControl(d->id, GetDlgCtrlID(combo)) : nullptr;
        if (c != nullptr && c->hwnd == combo && (c->flags & CONTROL_ALL_KEYS)) {
            // Ctrl+Tab and Ctrl+Shift+Tab leave a field that takes Tab, as they do a field
            // of several lines.
            if (message->message == WM_KEYDOWN && message->wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
                WinNotify(d->id, c->id, NOTIFY_OTHER);
                SendMessageA(GetParent(combo), WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, FALSE);
                return true;
            }
            TranslateMessage(message);
            DispatchMessageA(message);
            return true;
        }
    }
    for (HWND w = message->hwnd; w != nullptr; w = GetParent(w)) {
        if (WinDialogByWindow(w) != nullptr) return IsDialogMessageA(w, message) != FALSE;
    }
    return false;
}
