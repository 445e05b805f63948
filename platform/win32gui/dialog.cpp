// The dialogs of the Windows face: the open dialogs by id, what their windows report, the
// modal loop and the panes (platform/dialog.h); the calls on controls are dialog_controls.cpp.
#include <cstring>

#include "platform/picture_ids.h"
#include "platform/win32gui/dialogs.h"

#include "platform/win32gui/common_controls.h"

int gWinQuiet = 0;

namespace {

// The open dialogs: the panes and the modal dialogs opened one from another.
const int kMostDialogs = 16;
WinDialog* gDialogs[kMostDialogs];
int gDialogCount = 0;
HWND gOwner = nullptr;
bool (*gFunctionKeyCommand)(int virtualKey) = nullptr;

WinControl* ControlOf(WinDialog* d, int id) {
    for (int i = 0; i < d->controlCount; ++i) {
        if (d->controls[i].id == id) return &d->controls[i];
    }
    return nullptr;
}

WinDialog* DialogOf(HWND w) { return reinterpret_cast<WinDialog*>(GetWindowLongPtrA(w, DWLP_USER)); }

void Command(WinDialog* d, int id, int code, HWND from) {
    // Esc presses the Cancel button; a modal dialog without one ends as cancelled.
    if (from == nullptr && id == IDCANCEL && ControlOf(d, IDCANCEL) == nullptr) {
        if (d->modal) WinDialogEnd(d->id, IDCANCEL);
        return;
    }
    WinControl* c = ControlOf(d, id);
    // The keys reach the default and Cancel buttons greyed or not; a greyed one stays unpressed.
    if (c == nullptr || c->hwnd == nullptr || (from != nullptr && from != c->hwnd) || !IsWindowEnabled(c->hwnd)) return;
    switch (c->kind) {
        case CONTROL_BUTTON:
        case CONTROL_CHECK_BOX:
        case CONTROL_GADGET:
            if (code == BN_CLICKED) WinNotify(d->id, id, NOTIFY_CLICKED);
            break;
        case CONTROL_OPTION:
            // Chosen, not the one it replaced losing its mark.
            if (code == BN_CLICKED && SendMessageA(c->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                WinNotify(d->id, id, NOTIFY_CLICKED);
            }
            break;
        case CONTROL_EDIT:
            if (code == EN_CHANGE) WinNotify(d->id, id, NOTIFY_CHANGED);
            if (code == EN_KILLFOCUS) WinNotify(d->id, id, NOTIFY_OTHER);
            break;
        case CONTROL_LIST:
            if (code == LBN_SELCHANGE) WinNotify(d->id, id, NOTIFY_CHANGED);
            break;
        case CONTROL_COMBO:
            if (code == CBN_SELCHANGE) WinNotify(d->id, id, NOTIFY_CHANGED);
            break;
        case CONTROL_STATIC:
            // A text only read: the dialog manager selects the whole of a field it focuses,
            // which is then put back to nothing selected.
            if (code == EN_SETFOCUS) PostMessageA(c->hwnd, EM_SETSEL, 0, 0);
            break;
        case CONTROL_PICTURE:
        case CONTROL_LINK:
            // A picture reports the press itself, so that it can take the pointer.
            if (code == STN_CLICKED) WinNotify(d->id, id, NOTIFY_CLICKED);
            break;
        default:
            break;
    }
}

LRESULT Notice(WinDialog* d, const NMHDR* n) {
    WinControl* c = ControlOf(d, static_cast<int>(n->idFrom));
    if (c == nullptr || c->hwnd != n->hwndFrom) return 0;
    if (c->kind == CONTROL_TABS && n->code == static_cast<UINT>(TCN_SELCHANGE)) {
        WinShowCurrentPage(d);
        WinNotify(d->id, c->id, NOTIFY_CHANGED);
    }
    if (c->kind == CONTROL_SPIN && n->code == static_cast<UINT>(UDN_DELTAPOS)) {
        const auto* change = reinterpret_cast<const NMUPDOWN*>(n);
        WinNotify(d->id, c->id, change->iDelta > 0 ? NOTIFY_SPIN_UP : NOTIFY_SPIN_DOWN);
        return 1;  // the arrows count nothing themselves: the procedure sets the field
    }
    return 0;
}

void Scrolled(WinDialog* d, HWND from) {
    for (int i = 0; i < d->controlCount; ++i) {
        WinControl& c = d->controls[i];
        if (c.hwnd != from || c.kind != CONTROL_SLIDER) continue;
        const int now = static_cast<int>(SendMessageA(from, TBM_GETPOS, 0, 0));
        if (now == c.position) return;
        c.position = now;
        WinNotify(d->id, c.id, NOTIFY_CHANGED);
    }
}

INT_PTR CALLBACK DialogProcedure(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(w, DWLP_USER, lParam);
        return FALSE;
    }
    WinDialog* d = DialogOf(w);
    if (d == nullptr) return FALSE;
    switch (message) {
        case WM_COMMAND:
            Command(d, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_NOTIFY:
            SetWindowLongPtrA(w, DWLP_MSGRESULT, Notice(d, reinterpret_cast<const NMHDR*>(lParam)));
            return TRUE;
        case WM_VSCROLL:
            Scrolled(d, reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_CLOSE:
            if (d->modal) WinDialogEnd(d->id, IDCANCEL);
            return TRUE;
        case WM_CTLCOLORSTATIC: {
            // Links in the colours the program has always drawn: blue, purple once opened.
            HWND from = reinterpret_cast<HWND>(lParam);
            for (int i = 0; i < d->controlCount; ++i) {
                const WinControl& c = d->controls[i];
                if (c.hwnd != from || c.kind != CONTROL_LINK) continue;
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, c.visited ? RGB(128, 0, 128) : RGB(0, 0, 255));
                SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

WinDialog* Open(const DialogDescription* description, DialogProc proc, bool modal) {
    if (description == nullptr || WinFindDialog(description->id) != nullptr || gDialogCount == kMostDialogs) return nullptr;
    if (!modal && gOwner == nullptr) return nullptr;
    static bool commonControls = false;
    if (!commonControls) {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
        commonControls = InitCommonControlsEx(&classes) != FALSE;
    }
    const int count = description->controlCount > 0 ? description->controlCount : 0;
    auto* d = new WinDialog{description->id, proc, nullptr, modal, false, -1, nullptr, nullptr, new WinControl[count + 1], 0};
    gDialogs[gDialogCount++] = d;
    // A modal dialog opened from another belongs to that one; the panes to the main window.
    if (WinBuildDialog(d, description, modal ? WinDialogOwner() : gOwner, DialogProcedure) == nullptr) {
        --gDialogCount;
        delete[] d->controls;
        delete d;
        return nullptr;
    }
    return d;
}

void Close(WinDialog* d) {
    for (int i = 0; i < gDialogCount; ++i) {
        if (gDialogs[i] != d) continue;
        memmove(&gDialogs[i], &gDialogs[i + 1], sizeof gDialogs[0] * static_cast<size_t>(gDialogCount - i - 1));
        --gDialogCount;
        break;
    }
    // The pictures shown are the program's to free; their controls go with the dialog.
    for (int i = 0; i < d->controlCount; ++i) {
        const WinControl& c = d->controls[i];
        if (c.hwnd == nullptr || (c.kind != CONTROL_PICTURE && c.kind != CONTROL_GADGET)) continue;
        const UINT set = c.kind == CONTROL_GADGET ? BM_SETIMAGE : STM_SETIMAGE;
        HGDIOBJ shown = reinterpret_cast<HGDIOBJ>(SendMessageA(c.hwnd, set, IMAGE_BITMAP, 0));
        if (shown != nullptr) DeleteObject(shown);
    }
    DestroyWindow(d->hwnd);
    delete[] d->controls;
    DeleteObject(d->bold);
    DeleteObject(d->underlined);
    delete d;
}

// The main window's accelerators do not reach a modal dialog; those on a function key
// alone (F1, help for this screen) act there too.
bool FunctionKey(const MSG& m) {
    if (m.message != WM_KEYDOWN || m.wParam < VK_F1 || m.wParam > VK_F24 || gFunctionKeyCommand == nullptr) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0 || GetKeyState(VK_SHIFT) < 0) return false;
    return gFunctionKeyCommand(static_cast<int>(m.wParam));
}

// Ctrl+Page Down and Ctrl+Page Up (Ctrl+Tab, Ctrl+Shift+Tab) go round a modal dialog's
// tab pages, as a tab strip does on every desktop.
bool TurnPage(WinDialog* d, const MSG& m) {
    if (m.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0) return false;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    int step = 0;
    if (m.wParam == VK_NEXT || (m.wParam == VK_TAB && !shift)) step = 1;
    if (m.wParam == VK_PRIOR || (m.wParam == VK_TAB && shift)) step = -1;
    for (int i = 0; i < d->controlCount && step != 0; ++i) {
        const WinControl& c = d->controls[i];
        if (c.kind != CONTROL_TABS || c.hwnd == nullptr) continue;
        const int count = static_cast<int>(SendMessageA(c.hwnd, TCM_GETITEMCOUNT, 0, 0));
        if (count <= 0) return false;
        const int page = static_cast<int>(SendMessageA(c.hwnd, TCM_GETCURSEL, 0, 0));
        SendMessageA(c.hwnd, TCM_SETCURSEL, static_cast<WPARAM>((page + step + count) % count), 0);
        WinShowCurrentPage(d);
        WinNotify(d->id, c.id, NOTIFY_CHANGED);
        return true;
    }
    return false;
}

void CenterOnOwner(HWND w) {
    RECT area, box;
    HWND owner = GetWindow(w, GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);
    else SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(w, &box);
    const int x = (area.left + area.right - (box.right - box.left)) / 2;
    const int y = (area.top + area.bottom - (box.bottom - box.top)) / 2;
    SetWindowPos(w, nullptr, x > 0 ? x : 0, y > 0 ? y : 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Run(const DialogDescription* description, DialogProc proc) {
    WinDialog* d = Open(description, proc, true);
    if (d == nullptr) return -1;
    if (proc != nullptr) proc(d->id, DIALOG_INIT, 0, 0);
    if (!d->ended) {
        HWND owner = GetWindow(d->hwnd, GW_OWNER);
        const bool ownerEnabled = owner != nullptr && IsWindowEnabled(owner);
        if (ownerEnabled) EnableWindow(owner, FALSE);
        CenterOnOwner(d->hwnd);
        // Every window of the program carries its icon.
        HICON icon = Win32LoadIcon(IDI_KELMOR);
        SendMessageA(d->hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(d->hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        ShowWindow(d->hwnd, SW_SHOWNORMAL);
        SetForegroundWindow(d->hwnd);
        MSG m;
        while (!d->ended) {
            const BOOL got = GetMessageA(&m, nullptr, 0, 0);
            if (got <= 0) {
                // The program is ending: the dialog goes, and so does the loop around it.
                if (got == 0) PostQuitMessage(static_cast<int>(m.wParam));
                d->result = IDCANCEL;
                break;
            }
            if (FunctionKey(m) || TurnPage(d, m) || Win32IsDialogMessage(&m)) continue;
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        // The owner comes back before the dialog goes, so that it, not another program,
        // gets the focus back.
        if (ownerEnabled) EnableWindow(owner, TRUE);
    }
    const int result = d->result;
    Close(d);
    return result;
}

bool Create(const DialogDescription* description, DialogProc proc) {
    WinDialog* d = Open(description, proc, false);
    if (d == nullptr) return false;
    ShowWindow(d->hwnd, SW_SHOWNA);
    if (proc != nullptr) proc(d->id, DIALOG_INIT, 0, 0);
    return true;
}

}  // namespace

WinDialog* WinFindDialog(int dialog) {
    for (int i = 0; i < gDialogCount; ++i) {
        if (gDialogs[i]->id == dialog) return gDialogs[i];
    }
    return nullptr;
}

WinDialog* WinDialogByWindow(HWND w) {
    for (int i = 0; i < gDialogCount; ++i) {
        if (gDialogs[i]->hwnd == w && w != nullptr) return gDialogs[i];
    }
    return nullptr;
}

WinControl* WinFindControl(int dialog, int control) {
    WinDialog* d = WinFindDialog(dialog);
    return d != nullptr ? ControlOf(d, control) : nullptr;
}

void WinNotify(int dialog, int control, int notification) {
    if (gWinQuiet > 0) return;
    WinDialog* d = WinFindDialog(dialog);
    if (d != nullptr && d->proc != nullptr) d->proc(d->id, DIALOG_COMMAND, control, notification);
}

void WinDialogEnd(int dialog, int result) {
    WinDialog* d = WinFindDialog(dialog);
    if (d == nullptr || !d->modal) return;
    d->result = result;
    d->ended = true;
}

void Win32SetDialogOwner(HWND owner) { gOwner = owner; }

HWND WinDialogOwner() {
    // The innermost open modal dialog, so that a box it opens comes above it and holds it.
    for (int i = gDialogCount - 1; i >= 0; --i) {
        if (gDialogs[i]->modal && gDialogs[i]->hwnd != nullptr) return gDialogs[i]->hwnd;
    }
    return gOwner;
}

void Win32SetFunctionKeyCommand(bool (*run)(int virtualKey)) { gFunctionKeyCommand = run; }

HWND Win32DialogWindow(int dialog) {
    WinDialog* d = WinFindDialog(dialog);
    return d != nullptr ? d->hwnd : nullptr;
}

void Win32FillDialogFace(KelmorFace* face) {
    face->dialogRun = Run;
    face->dialogCreate = Create;
    face->dialogIsOpen = [](int dialog) { return WinFindDialog(dialog) != nullptr; };
    face->dialogEnd = WinDialogEnd;
    face->dialogCapturePointer = WinCapturePointer;
    WinFillControlFace(face);
    Win32FillBoxFace(face);
}
