// The dialogs of the Windows face: the open dialogs by id, their procedure, the modal
// loop and the calls the core acts through (platform/dialog.h).
#include <cstring>

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
        HGDIOBJ shown = reinterpret_cast<HGDIOBJ>(SendMessageA(c.hwnd, STM_SETIMAGE, IMAGE_BITMAP, 0));
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

int CopyText(const char* text, int length, char* out, int size) {
    if (out == nullptr || size <= 0) return 0;
    if (length > size - 1) length = size - 1;
    memcpy(out, text, static_cast<size_t>(length));
    out[length] = '\0';
    return length;
}

// A text of several lines shows its line ends only as the system writes them: CR LF.
char* WithLineEnds(const char* text) {
    char* out = new char[2 * strlen(text) + 1];
    char* end = out;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\n' && (p == text || p[-1] != '\r')) *end++ = '\r';
        *end++ = *p;
    }
    *end = '\0';
    return out;
}

void SetText(int dialog, int control, const char* text) {
    WinControl* c = WinFindControl(dialog, control);
    if (c == nullptr || c->hwnd == nullptr) return;
    WinQuiet quiet;
    if (text == nullptr) text = "";
    char* lines = (c->flags & CONTROL_MULTILINE) ? WithLineEnds(text) : nullptr;
    const char* shown = lines != nullptr ? lines : text;
    SetWindowTextA(c->hwnd, shown);
    if (c->flags & CONTROL_ENTRY) SendMessageA(c->hwnd, CB_SETEDITSEL, 0, MAKELPARAM(0xFFFF, 0xFFFF));
    if (c->tip != nullptr) {
        TOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = GetParent(c->hwnd);
        tool.uId = reinterpret_cast<UINT_PTR>(c->hwnd);
        tool.lpszText = const_cast<char*>(shown);
        SendMessageA(c->tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    delete[] lines;
}

int GetText(int dialog, int control, char* out, int size) {
    WinControl* c = WinFindControl(dialog, control);
    if (out == nullptr || size <= 0) return 0;
    out[0] = '\0';
    if (c == nullptr || c->hwnd == nullptr) return 0;
    int length = GetWindowTextA(c->hwnd, out, size);
    if (c->flags & CONTROL_MULTILINE) {
        // Back to the line ends it was given.
        int kept = 0;
        for (int i = 0; i < length; ++i) {
            if (out[i] != '\r') out[kept++] = out[i];
        }
        out[kept] = '\0';
        length = kept;
    }
    return length;
}

void Check(int dialog, int control, bool checked) {
    WinControl* c = WinFindControl(dialog, control);
    if (c == nullptr || c->hwnd == nullptr) return;
    WinQuiet quiet;
    if (c->kind == CONTROL_LINK) {
        c->visited = checked;
        InvalidateRect(c->hwnd, nullptr, TRUE);
        return;
    }
    // An option button is cleared by checking another of its group.
    if (c->kind == CONTROL_OPTION && !checked) return;
    if (c->kind == CONTROL_OPTION) {
        // The system clears the others of the group only for a click.
        WinDialog* d = WinFindDialog(dialog);
        int first = static_cast<int>(c - d->controls);
        while (first > 0 && !(d->controls[first].flags & CONTROL_GROUP) && d->controls[first - 1].kind == CONTROL_OPTION) {
            --first;
        }
        for (int i = first; i < d->controlCount && d->controls[i].kind == CONTROL_OPTION; ++i) {
            if (i > first && (d->controls[i].flags & CONTROL_GROUP)) break;
            SendMessageA(d->controls[i].hwnd, BM_SETCHECK, &d->controls[i] == c ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        return;
    }
    SendMessageA(c->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsChecked(int dialog, int control) {
    WinControl* c = WinFindControl(dialog, control);
    if (c == nullptr || c->hwnd == nullptr) return false;
    if (c->kind == CONTROL_LINK) return c->visited;
    return (c->kind == CONTROL_CHECK_BOX || c->kind == CONTROL_OPTION) &&
           SendMessageA(c->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Enable(int dialog, int control, bool enabled) {
    WinControl* c = WinFindControl(dialog, control);
    if (c == nullptr || c->hwnd == nullptr) return;
    EnableWindow(c->hwnd, enabled);
    for (int i = 0; i < c->markCount; ++i) EnableWindow(c->marks[i], enabled);
}

void Show(int dialog, int control, bool shown) {
    WinControl* c = WinFindControl(dialog, control);
    if (c == nullptr) return;
    // A control of another page stays hidden until its page comes.
    c->wanted = shown;
    WinShowCurrentPage(WinFindDialog(dialog));
}

void Focus(int dialog, int control) {
    WinControl* c = WinFindControl(dialog, control);
    if (c == nullptr || c->hwnd == nullptr) return;
    SendMessageA(GetParent(c->hwnd), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c->hwnd), TRUE);
}

// The messages of each kind of list: add, remove, select, selection, count, text length, text.
struct ListMessages {
    UINT add, remove, select, selection, count, length, text;
};
const ListMessages kListBox = {LB_ADDSTRING, LB_DELETESTRING, LB_SETCURSEL, LB_GETCURSEL,
                               LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT};
const ListMessages kComboBox = {CB_ADDSTRING, CB_DELETESTRING, CB_SETCURSEL, CB_GETCURSEL,
                                CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT};

const ListMessages* ListOf(const WinControl* c) {
    if (c == nullptr || c->hwnd == nullptr) return nullptr;
    return c->kind == CONTROL_LIST ? &kListBox : c->kind == CONTROL_COMBO ? &kComboBox : nullptr;
}

WinControl* Tabs(int dialog, int control) {
    WinControl* c = WinFindControl(dialog, control);
    return c != nullptr && c->kind == CONTROL_TABS && c->hwnd != nullptr ? c : nullptr;
}

int ListCount(int dialog, int control) {
    WinControl* c = WinFindControl(dialog, control);
    if (Tabs(dialog, control) != nullptr) return static_cast<int>(SendMessageA(c->hwnd, TCM_GETITEMCOUNT, 0, 0));
    const ListMessages* m = ListOf(c);
    return m != nullptr ? static_cast<int>(SendMessageA(c->hwnd, m->count, 0, 0)) : 0;
}

int ListAdd(int dialog, int control, const char* text) {
    WinControl* c = WinFindControl(dialog, control);
    WinQuiet quiet;
    if (Tabs(dialog, control) != nullptr) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(text != nullptr ? text : "");
        const int index = static_cast<int>(SendMessageA(c->hwnd, TCM_INSERTITEMA, static_cast<WPARAM>(ListCount(dialog, control)),
                                                        reinterpret_cast<LPARAM>(&item)));
        WinShowCurrentPage(WinFindDialog(dialog));
        return index;
    }
    const ListMessages* m = ListOf(c);
    if (m == nullptr) return -1;
    const LRESULT index = SendMessageA(c->hwnd, m->add, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : ""));
    return index >= 0 ? static_cast<int>(index) : -1;
}

bool ListRemove(int dialog, int control, int index) {
    WinControl* c = WinFindControl(dialog, control);
    const ListMessages* m = ListOf(c);  // the pages of a tab strip hold controls and stay
    if (m == nullptr || index < 0 || index >= ListCount(dialog, control)) return false;
    WinQuiet quiet;
    return SendMessageA(c->hwnd, m->remove, static_cast<WPARAM>(index), 0) >= 0;
}

void ListSelect(int dialog, int control, int index) {
    WinControl* c = WinFindControl(dialog, control);
    WinQuiet quiet;
    if (Tabs(dialog, control) != nullptr) {
        if (index < 0) return;
        SendMessageA(c->hwnd, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
        WinShowCurrentPage(WinFindDialog(dialog));
        return;
    }
    const ListMessages* m = ListOf(c);
    if (m != nullptr) SendMessageA(c->hwnd, m->select, static_cast<WPARAM>(index), 0);
}

int ListSelection(int dialog, int control) {
    WinControl* c = WinFindControl(dialog, control);
    if (Tabs(dialog, control) != nullptr) return static_cast<int>(SendMessageA(c->hwnd, TCM_GETCURSEL, 0, 0));
    const ListMessages* m = ListOf(c);
    return m != nullptr ? static_cast<int>(SendMessageA(c->hwnd, m->selection, 0, 0)) : -1;
}

int ListGetText(int dialog, int control, int index, char* out, int size) {
    WinControl* c = WinFindControl(dialog, control);
    if (out == nullptr || size <= 0) return 0;
    out[0] = '\0';
    if (index < 0 || index >= ListCount(dialog, control)) return 0;
    if (Tabs(dialog, control) != nullptr) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = out;
        item.cchTextMax = size;
        SendMessageA(c->hwnd, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        // The strip may hand back its own copy of the name instead of filling the buffer.
        if (item.pszText != out) return CopyText(item.pszText, static_cast<int>(strlen(item.pszText)), out, size);
        out[size - 1] = '\0';
        return static_cast<int>(strlen(out));
    }
    const ListMessages* m = ListOf(c);
    const LRESULT length = m != nullptr ? SendMessageA(c->hwnd, m->length, static_cast<WPARAM>(index), 0) : -1;
    if (length < 0) return 0;
    // The list copies the whole item: one longer than the buffer goes through a copy of its own.
    char* whole = length < size ? out : new char[static_cast<size_t>(length) + 1];
    const LRESULT copied = SendMessageA(c->hwnd, m->text, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(whole));
    const int kept = copied < 0 ? 0 : CopyText(whole, static_cast<int>(copied), out, size);
    if (whole != out) delete[] whole;
    return kept;
}

void SetImage(int dialog, int control, int bitmapId) {
    WinControl* c = WinFindControl(dialog, control);
    if (c == nullptr || c->hwnd == nullptr || (c->kind != CONTROL_PICTURE && c->kind != CONTROL_GADGET)) return;
    // The control draws the picture; the one it showed before is the program's to free.
    HBITMAP old = reinterpret_cast<HBITMAP>(SendMessageA(c->hwnd, STM_SETIMAGE, IMAGE_BITMAP,
                                                         reinterpret_cast<LPARAM>(Win32LoadPicture(bitmapId))));
    if (old != nullptr) DeleteObject(old);
}

void SetPosition(int dialog, int control, int position) {
    WinControl* c = WinFindControl(dialog, control);
    if (c == nullptr || c->hwnd == nullptr || c->kind != CONTROL_SLIDER) return;
    SendMessageA(c->hwnd, TBM_SETPOS, TRUE, position);
    c->position = static_cast<int>(SendMessageA(c->hwnd, TBM_GETPOS, 0, 0));
}

int GetPosition(int dialog, int control) {
    WinControl* c = WinFindControl(dialog, control);
    if (c == nullptr || c->hwnd == nullptr || c->kind != CONTROL_SLIDER) return 0;
    return static_cast<int>(SendMessageA(c->hwnd, TBM_GETPOS, 0, 0));
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
    face->dialogEnd = WinDialogEnd;
    face->dialogSetText = SetText;
    face->dialogGetText = GetText;
    face->dialogCheck = Check;
    face->dialogIsChecked = IsChecked;
    face->dialogEnable = Enable;
    face->dialogShow = Show;
    face->dialogFocus = Focus;
    face->dialogListAdd = ListAdd;
    face->dialogListRemove = ListRemove;
    face->dialogListSelect = ListSelect;
    face->dialogListSelection = ListSelection;
    face->dialogListCount = ListCount;
    face->dialogListGetText = ListGetText;
    face->dialogSetImage = SetImage;
    face->dialogSetPosition = SetPosition;
    face->dialogGetPosition = GetPosition;
    face->dialogCapturePointer = WinCapturePointer;
    Win32FillBoxFace(face);
}
