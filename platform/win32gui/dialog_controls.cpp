// What the core does to the controls of the Windows dialogs (platform/dialog.h): texts,
// checks, lists, tab pages, pictures and slider positions.
#include <cstring>

#include "platform/win32gui/dialogs.h"

#include "platform/win32gui/common_controls.h"

namespace {

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
    // The caret after the text, where the next key captured or character typed goes; the
    // system leaves it at the start.
    if (c->flags & CONTROL_ENTRY) {
        const WORD end = static_cast<WORD>(strlen(shown));
        SendMessageA(c->hwnd, CB_SETEDITSEL, 0, MAKELPARAM(end, end));
    }
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

int GetFocusedControl(int dialog) {
    WinDialog* d = WinFindDialog(dialog);
    HWND focus = GetFocus();
    if (d == nullptr || focus == nullptr) return 0;
    for (int i = 0; i < d->controlCount; ++i) {
        const WinControl& c = d->controls[i];
        if (c.hwnd != nullptr && (c.hwnd == focus || IsChild(c.hwnd, focus))) return c.id;
    }
    return 0;
}

// The selection of an edit field or of a drop-down list's field: its two ends, in order.
void GetSelection(int dialog, int control, int* start, int* end) {
    WinControl* c = WinFindControl(dialog, control);
    DWORD from = 0, to = 0;
    if (c != nullptr && c->hwnd != nullptr && c->kind == CONTROL_EDIT) {
        SendMessageA(c->hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    } else if (c != nullptr && c->hwnd != nullptr && c->kind == CONTROL_COMBO) {
        SendMessageA(c->hwnd, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    }
    if (start != nullptr) *start = static_cast<int>(from);
    if (end != nullptr) *end = static_cast<int>(to);
}

void SetSelection(int dialog, int control, int start, int end) {
    WinControl* c = WinFindControl(dialog, control);
    if (c == nullptr || c->hwnd == nullptr) return;
    WinQuiet quiet;
    if (c->kind == CONTROL_EDIT) SendMessageA(c->hwnd, EM_SETSEL, static_cast<WPARAM>(start), end);
    if (c->kind == CONTROL_COMBO) SendMessageA(c->hwnd, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
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

void FitDropDown(int dialog, int control, int limit) {
    WinControl* c = WinFindControl(dialog, control);
    if (c == nullptr || c->hwnd == nullptr || c->kind != CONTROL_COMBO) return;
    HDC dc = GetDC(c->hwnd);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(c->hwnd, WM_GETFONT, 0, 0)));
    // Each entry as drawn, in a buffer of its own length: no entry is cut by a guess of
    // its width, nor its text by a buffer.
    int widest = 0;
    const int count = static_cast<int>(SendMessageA(c->hwnd, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(c->hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length <= 0) continue;
        char* text = new char[static_cast<size_t>(length) + 1];
        const LRESULT got = SendMessageA(c->hwnd, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        SIZE extent = {0, 0};
        if (got > 0 && GetTextExtentPoint32A(dc, text, static_cast<int>(got), &extent) && extent.cx > widest) {
            widest = extent.cx;
        }
        delete[] text;
    }
    // The limit is in pixels of a 96-dpi screen, as the program's other sizes are; the
    // text grows with the screen's dpi, and so does the limit.
    const int scaled = MulDiv(limit, GetDeviceCaps(dc, LOGPIXELSX), 96);
    SelectObject(dc, old);
    ReleaseDC(c->hwnd, dc);
    const int width = widest + GetSystemMetrics(SM_CXVSCROLL) + 12;
    // The list never opens narrower than the box itself, whatever is asked.
    SendMessageA(c->hwnd, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width < scaled ? width : scaled), 0);
}

void SetImage(int dialog, int control, int bitmapId) {
    WinControl* c = WinFindControl(dialog, control);
    if (c == nullptr || c->hwnd == nullptr || (c->kind != CONTROL_PICTURE && c->kind != CONTROL_GADGET)) return;
    // The control draws the picture; the one it showed before is the program's to free.
    const UINT set = c->kind == CONTROL_GADGET ? BM_SETIMAGE : STM_SETIMAGE;
    HBITMAP old = reinterpret_cast<HBITMAP>(SendMessageA(c->hwnd, set, IMAGE_BITMAP,
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

void WinFillControlFace(KelmorFace* face) {
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
    face->dialogFitDropDown = FitDropDown;
    face->dialogGetFocus = GetFocusedControl;
    face->dialogGetSelection = GetSelection;
    face->dialogSetSelection = SetSelection;
}
