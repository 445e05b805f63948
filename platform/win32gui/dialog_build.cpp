// Dialogs built from their descriptions: an empty dialog from a template made in memory
// (the system's dialog class, keyboard navigation and font), then one child window per
// control. Descriptions without positions are laid out in rows and columns as the Linux
// face lays them: a grid per tab page inside the tab strip, the dialog's own grid below.
#include <cstring>

#include "platform/win32gui/dialogs.h"

#include "platform/win32gui/common_controls.h"

#include <uxtheme.h>

namespace {

// Pixels between cells and around a grid, as the Linux face spaces them.
const int kRowGap = 4;
const int kColumnGap = 8;
const int kBorder = 8;
const int kSliderTop = 3;
const int kSliderHeight = 160;
const int kSliderWidth = 30;

struct Size {
    int w, h;
};

struct Fonts {
    HDC dc;
    int line;       // a line of text
    int average;    // an average character
};

Size TextSize(const Fonts& f, const char* text, int wrapAt, int length = -1) {
    RECT r = {0, 0, wrapAt, 0};
    const UINT wrap = wrapAt > 0 ? DT_WORDBREAK : DT_SINGLELINE;
    if (length == 0 || text[0] == '\0') text = " ", length = 1;
    DrawTextA(f.dc, text, length, &r, DT_CALCRECT | wrap);
    return {static_cast<int>(r.right), static_cast<int>(r.bottom)};
}

// The length of the line starting at text.
int LineLength(const char* text) {
    const char* end = strchr(text, '\n');
    return static_cast<int>(end != nullptr ? end - text : static_cast<ptrdiff_t>(strlen(text)));
}

// The size a control asks for in its grid cell.
Size Wanted(const Fonts& f, const ControlDescription& c) {
    const int field = f.line + 8;
    switch (c.kind) {
        case CONTROL_STATIC: {
            if (c.flags & CONTROL_MULTILINE) return {600, 300};
            // A label left empty for a status to come gets room for two lines.
            if (c.text[0] == '\0') return {40 * f.average, 2 * f.line};
            Size s = TextSize(f, c.text, 0);
            if (s.w > 40 * f.average) s = TextSize(f, c.text, 40 * f.average);
            return s;
        }
        case CONTROL_LINK: {
            const Size s = TextSize(f, c.text, 0);
            return {s.w < 30 * f.average ? 30 * f.average : s.w, s.h};
        }
        case CONTROL_BUTTON: {
            const Size s = TextSize(f, c.text, 0);
            return {s.w + 24 < 75 ? 75 : s.w + 24, field + 2};
        }
        case CONTROL_CHECK_BOX:
        case CONTROL_OPTION: return {TextSize(f, c.text, 0).w + 24, f.line + 4};
        case CONTROL_EDIT:
            if (c.flags & CONTROL_MULTILINE) return {24 * f.average, 3 * f.line + 8};
            return {(c.flags & CONTROL_NUMBER) ? 10 * f.average : 24 * f.average, field};
        case CONTROL_SPIN: return {17, field};
        case CONTROL_LIST: return {24 * f.average, 8 * f.line};
        // An indented entry and the arrow beside it, shown whole: "   (Type the text below:)".
        case CONTROL_COMBO: return {30 * f.average, field};
        case CONTROL_PICTURE: return {48, 48};
        case CONTROL_GADGET: return {22, 22};
        case CONTROL_SLIDER: {
            int widest = 0;
            for (const char* p = c.text; *p != '\0';) {
                const int length = LineLength(p);
                const Size s = TextSize(f, p, 0, length);
                if (s.w > widest) widest = s.w;
                p += length + (p[length] != '\0');
            }
            return {kSliderWidth + 6 + widest, kSliderHeight};
        }
        default: return {0, 0};
    }
}

// Controls that take the whole width of their cell: fields, lists and texts.
bool Fills(const ControlDescription& c) {
    return c.kind == CONTROL_EDIT || c.kind == CONTROL_COMBO || c.kind == CONTROL_LIST ||
           (c.kind == CONTROL_STATIC && (c.text[0] == '\0' || (c.flags & CONTROL_MULTILINE)));
}

// A grid of cells: the widths of its columns and heights of its rows.
struct Grid {
    int columns[256];
    int rows[256];
    int columnCount, rowCount;
    Size total() const {
        Size s = {2 * kBorder, 2 * kBorder};
        for (int i = 0; i < columnCount; ++i) s.w += columns[i] + (i > 0 ? kColumnGap : 0);
        for (int i = 0; i < rowCount; ++i) s.h += rows[i] + (i > 0 && rows[i] > 0 ? kRowGap : 0);
        return s;
    }
    void add(const ControlPlace& p, Size s) {
        if (p.column >= columnCount) columnCount = p.column + 1;
        if (p.row >= rowCount) rowCount = p.row + 1;
        if (s.w > columns[p.column]) columns[p.column] = s.w;
        if (s.h > rows[p.row]) rows[p.row] = s.h;
    }
    RECT cell(const ControlPlace& p, int left, int top) const {
        int x = left + kBorder, y = top + kBorder;
        for (int i = 0; i < p.column; ++i) x += columns[i] + kColumnGap;
        for (int i = 0; i < p.row; ++i) y += rows[i] + (rows[i] > 0 ? kRowGap : 0);
        return {x, y, x + columns[p.column], y + rows[p.row]};
    }
};

// An empty dialog template: no controls, the caption set later (it is ANSI), the dialog
// font named so that dialog units follow it.
struct Template {
    DLGTEMPLATE head;
    WORD menu, windowClass, caption, points;
    WORD font[13];
};

Template MakeTemplate(bool child) {
    Template t = {};
    t.head.style = DS_SETFONT | (child ? WS_CHILD | DS_CONTROL | WS_CLIPCHILDREN
                                       : WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN);
    t.points = 8;
    const char* name = "MS Shell Dlg";
    for (int i = 0; name[i] != '\0'; ++i) t.font[i] = static_cast<WORD>(name[i]);
    return t;
}

struct Made {
    const char* cls;
    DWORD style;
};

Made ClassOf(const ControlDescription& c) {
    const DWORD tab = WS_TABSTOP | WS_GROUP;
    switch (c.kind) {
        case CONTROL_STATIC:
            if (c.flags & CONTROL_MULTILINE) {
                return {"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP};
            }
            return {"STATIC", static_cast<DWORD>((c.flags & CONTROL_RIGHT) ? SS_RIGHT
                                                 : (c.flags & CONTROL_CENTER) ? SS_CENTER : SS_LEFT) | WS_GROUP};
        case CONTROL_LINK: return {"STATIC", SS_NOTIFY | SS_LEFT | WS_GROUP};
        case CONTROL_BUTTON:
            return {"BUTTON", static_cast<DWORD>((c.flags & CONTROL_DEFAULT) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | tab};
        case CONTROL_CHECK_BOX: return {"BUTTON", BS_AUTOCHECKBOX | tab};
        case CONTROL_OPTION:
            return {"BUTTON", BS_AUTORADIOBUTTON | ((c.flags & CONTROL_GROUP) ? tab : static_cast<DWORD>(0))};
        case CONTROL_EDIT:
            // Enter makes a new line in a field of several lines; Tab still moves on.
            if (c.flags & CONTROL_MULTILINE) {
                return {"EDIT", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | tab};
            }
            return {"EDIT", ES_AUTOHSCROLL | WS_BORDER | tab | ((c.flags & CONTROL_NUMBER) ? ES_NUMBER : 0) |
                                ((c.flags & CONTROL_RIGHT) ? ES_RIGHT : 0)};
        case CONTROL_SPIN: return {UPDOWN_CLASSA, UDS_ARROWKEYS | UDS_ALIGNRIGHT};
        case CONTROL_LIST: return {"LISTBOX", LBS_NOTIFY | WS_VSCROLL | WS_BORDER | tab};
        case CONTROL_COMBO:
            return {"COMBOBOX", static_cast<DWORD>((c.flags & CONTROL_ENTRY) ? CBS_DROPDOWN | CBS_AUTOHSCROLL
                                                                             : CBS_DROPDOWNLIST) | WS_VSCROLL | tab};
        case CONTROL_TABS: return {WC_TABCONTROLA, tab | WS_CLIPSIBLINGS};
        case CONTROL_PICTURE: return {"STATIC", SS_BITMAP | SS_NOTIFY | SS_CENTERIMAGE | WS_GROUP};
        // A push button showing its picture: reached by Tab, pressed by Space and Enter, and
        // named by its text, the tool tip, to a screen reader.
        case CONTROL_GADGET: return {"BUTTON", BS_PUSHBUTTON | BS_BITMAP | tab};
        case CONTROL_SLIDER: return {TRACKBAR_CLASSA, TBS_VERT | TBS_AUTOTICKS | TBS_RIGHT | tab};
        default: return {nullptr, 0};
    }
}

HWND MakeChild(HWND dialog, const char* cls, DWORD style, const char* text, int id, HFONT font) {
    HWND w = CreateWindowExA(0, cls, text, WS_CHILD | style, 0, 0, 0, 0, dialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (w != nullptr) SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return w;
}

void Move(HWND w, int x, int y, int width, int height) {
    if (w != nullptr) SetWindowPos(w, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A slider's marks: one label a line of its text, beside the positions from the top.
void MakeMarks(WinControl* c, const ControlDescription& desc, HWND dialog, HFONT font) {
    for (const char* p = desc.text; *p != '\0' && c->markCount <= kSliderTop;) {
        const int length = LineLength(p);
        char mark[128];
        const int kept = length < static_cast<int>(sizeof mark) ? length : static_cast<int>(sizeof mark) - 1;
        memcpy(mark, p, static_cast<size_t>(kept));
        mark[kept] = '\0';
        c->marks[c->markCount++] = MakeChild(dialog, "STATIC", SS_LEFT | SS_NOPREFIX, mark, 0, font);
        p += length + (p[length] != '\0');
    }
}

void PlaceControl(const Fonts& f, WinControl* c, const ControlDescription& desc, RECT cell) {
    const Size want = Wanted(f, desc);
    const int width = Fills(desc) ? cell.right - cell.left : want.w;
    // Single-line controls sit in the middle of a taller row.
    const int top = cell.top + (cell.bottom - cell.top - want.h) / 2;
    if (desc.kind == CONTROL_COMBO) {
        Move(c->hwnd, cell.left, top, width, want.h + 10 * f.line);  // the height of the open list
        return;
    }
    if (desc.kind == CONTROL_SLIDER) {
        Move(c->hwnd, cell.left, cell.top, kSliderWidth, kSliderHeight);
        // The thumb's centre runs from half a thumb below the top to as much above the bottom.
        for (int i = 0; i < c->markCount; ++i) {
            const int y = cell.top + 11 + i * (kSliderHeight - 22) / kSliderTop - f.line / 2;
            Move(c->marks[i], cell.left + kSliderWidth + 6, y, want.w - kSliderWidth - 6, f.line);
        }
        return;
    }
    // A button marked so stands at the right of its cell, where the system's boxes keep OK.
    const int left = desc.kind == CONTROL_BUTTON && (desc.flags & CONTROL_RIGHT) ? cell.right - width : cell.left;
    Move(c->hwnd, left, top, width, want.h);
}

// Tab goes through the controls in the order they are stacked: that of the page, row by
// row and left to right, then the dialog's own row. A control on several pages comes
// after the others of the last of them, below which it stands on each.
void TabInVisualOrder(WinDialog* d, const DialogDescription* description) {
    auto key = [description](int i) {
        const ControlDescription& c = description->controls[i];
        int page = 8;
        for (int p = 0; p < 8; ++p) {
            if (c.pages >> p & 1) page = p;
        }
        return ((page * 256 + c.place.row) * 256 + c.place.column) * 256 + i;
    };
    int order[256];
    int count = 0;
    for (int i = 0; i < d->controlCount && count < 256; ++i) {
        if (d->controls[i].hwnd == nullptr || d->controls[i].kind == CONTROL_TABS) continue;
        int at = count++;
        for (; at > 0 && key(order[at - 1]) > key(i); --at) order[at] = order[at - 1];
        order[at] = i;
    }
    HWND after = HWND_TOP;
    for (int n = 0; n < count; ++n) {
        HWND w = d->controls[order[n]].hwnd;
        SetWindowPos(w, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = w;
    }
}

}  // namespace

HWND WinBuildDialog(WinDialog* d, const DialogDescription* description, HWND parent, DLGPROC proc) {
    const bool child = !d->modal;
    Template t = MakeTemplate(child);
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &t.head, parent, proc, reinterpret_cast<LPARAM>(d));
    if (dialog == nullptr) return nullptr;
    d->hwnd = dialog;
    if (!child) SetWindowTextA(dialog, description->caption);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    LOGFONTA look = {};
    GetObjectA(font, sizeof look, &look);
    look.lfWeight = FW_BOLD;
    d->bold = CreateFontIndirectA(&look);
    look.lfWeight = FW_NORMAL;
    look.lfUnderline = TRUE;
    d->underlined = CreateFontIndirectA(&look);

    Fonts f = {GetDC(dialog), 0, 0};
    HGDIOBJ old = SelectObject(f.dc, font);
    TEXTMETRICA metrics;
    GetTextMetricsA(f.dc, &metrics);
    f.line = metrics.tmHeight;
    f.average = metrics.tmAveCharWidth;

    const bool positioned = description->width > 0;
    Grid own = {}, pages[8] = {};
    int tabsAt = -1;
    for (int i = 0; i < description->controlCount; ++i) {
        const ControlDescription& c = description->controls[i];
        WinControl control = {c.id, c.kind, c.flags, c.pages, nullptr, {}, 0, nullptr, true, false, -1};
        const Made made = ClassOf(c);
        if (c.kind == CONTROL_TABS) tabsAt = i;
        if (made.cls != nullptr) {
            HFONT own_font = (c.flags & CONTROL_BOLD) ? d->bold : c.kind == CONTROL_LINK ? d->underlined : font;
            // A picture's window text would name a bitmap resource; a gadget's is its tool tip.
            const char* text = c.kind == CONTROL_EDIT ? "" : c.text;
            control.hwnd = MakeChild(dialog, made.cls, made.style, text, c.id, own_font);
            if (c.kind == CONTROL_EDIT) SetWindowTextA(control.hwnd, c.text);
            if (c.kind == CONTROL_SLIDER) {
                SendMessageA(control.hwnd, TBM_SETRANGE, FALSE, MAKELPARAM(0, kSliderTop));
                control.position = 0;
                MakeMarks(&control, c, dialog, font);
            }
            if (c.kind == CONTROL_SPIN) SendMessageA(control.hwnd, UDM_SETRANGE32, 0, 100);
        }
        d->controls[d->controlCount++] = control;
        if (c.kind == CONTROL_TABS || control.hwnd == nullptr || positioned) continue;
        const Size want = Wanted(f, c);
        if (c.pages == 0 || tabsAt < 0) {
            own.add(c.place, want);
            continue;
        }
        // A control on several pages takes its place on the first of them.
        for (int page = 0; page < 8; ++page) {
            if (c.pages >> page & 1) {
                pages[page].add(c.place, want);
                break;
            }
        }
    }

    int width = 0, height = 0;
    if (positioned) {
        for (int i = 0; i < d->controlCount; ++i) {
            const ControlPlace& p = description->controls[i].place;
            RECT r = {p.x, p.y, p.x + p.w, p.y + p.h};
            MapDialogRect(dialog, &r);
            Move(d->controls[i].hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top);
        }
        RECT all = {0, 0, description->width, description->height};
        MapDialogRect(dialog, &all);
        width = all.right;
        height = all.bottom;
    } else {
        // The tab strip holds the largest page; its strip of names is a line and a margin.
        Size pageArea = {0, 0};
        for (const Grid& g : pages) {
            const Size s = g.total();
            if (s.w > pageArea.w) pageArea.w = s.w;
            if (s.h > pageArea.h) pageArea.h = s.h;
        }
        const int strip = f.line + 10;
        const Size tabs = tabsAt >= 0 ? Size{pageArea.w + 8, pageArea.h + strip + 8} : Size{0, 0};
        const int tabsTop = tabsAt >= 0 ? 4 : 0;
        const int ownTop = tabsAt >= 0 ? tabsTop + tabs.h : 0;
        const Size ownSize = own.total();
        width = tabs.w + 8 > ownSize.w ? tabs.w + 8 : ownSize.w;
        // A grid of one column spans the dialog: a status line under the tab strip.
        if (own.columnCount == 1 && own.columns[0] < width - 2 * kBorder) own.columns[0] = width - 2 * kBorder;
        height = ownTop + (own.rowCount > 0 ? ownSize.h : 4);
        if (tabsAt >= 0) Move(d->controls[tabsAt].hwnd, 4, tabsTop, width - 8, tabs.h);
        for (int i = 0; i < d->controlCount; ++i) {
            const ControlDescription& c = description->controls[i];
            WinControl* control = &d->controls[i];
            if (c.kind == CONTROL_TABS || control->hwnd == nullptr) continue;
            if (c.pages == 0 || tabsAt < 0) {
                PlaceControl(f, control, c, own.cell(c.place, 0, ownTop));
                continue;
            }
            for (int page = 0; page < 8; ++page) {
                if (c.pages >> page & 1) {
                    PlaceControl(f, control, c, pages[page].cell(c.place, 8, tabsTop + strip + 4));
                    break;
                }
            }
        }
    }
    SelectObject(f.dc, old);
    ReleaseDC(dialog, f.dc);
    // Spin arrows belong to the field before them: its buddy, they stand inside its right
    // edge, as tall as it, and move with it.
    for (int i = 1; i < d->controlCount; ++i) {
        const WinControl& field = d->controls[i - 1];
        if (d->controls[i].kind != CONTROL_SPIN || field.kind != CONTROL_EDIT || field.hwnd == nullptr) continue;
        Move(d->controls[i].hwnd, 0, 0, 17, 0);
        SendMessageA(d->controls[i].hwnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(field.hwnd), 0);
    }

    if (!positioned) TabInVisualOrder(d, description);
    // The tab strip goes behind the controls of its pages, or it would paint over them. It
    // keeps the classic look: a themed strip paints its pages in a colour of its own, which
    // the controls standing on them do not share.
    if (tabsAt >= 0) {
        SetWindowTheme(d->controls[tabsAt].hwnd, L" ", L" ");
        SetWindowPos(d->controls[tabsAt].hwnd, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    RECT outer = {0, 0, width, height};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < d->controlCount; ++i) WinSubclassControl(d, &d->controls[i], description->controls[i].text);
    for (int t = 0; t < description->tipCount && description->tips != nullptr; ++t) {
        for (int i = 0; i < d->controlCount; ++i) {
            if (d->controls[i].id == description->tips[t].id) WinAddTip(&d->controls[i], description->tips[t].text);
        }
    }
    WinShowCurrentPage(d);
    return dialog;
}

void WinShowCurrentPage(WinDialog* d) {
    int page = 0;
    HWND tabs = nullptr;
    for (int i = 0; i < d->controlCount; ++i) {
        const WinControl& c = d->controls[i];
        if (c.kind == CONTROL_TABS && c.hwnd != nullptr) {
            tabs = c.hwnd;
            const int selected = static_cast<int>(SendMessageA(c.hwnd, TCM_GETCURSEL, 0, 0));
            page = selected > 0 ? selected : 0;
        }
    }
    HWND focus = GetFocus();
    bool focusHidden = false;
    for (int i = 0; i < d->controlCount; ++i) {
        const WinControl& c = d->controls[i];
        const bool shown = c.wanted && (c.pages == 0 || (c.pages >> page & 1) != 0);
        const int command = shown ? SW_SHOWNA : SW_HIDE;
        if (c.hwnd != nullptr) ShowWindow(c.hwnd, command);
        for (int m = 0; m < c.markCount; ++m) ShowWindow(c.marks[m], command);
        focusHidden = focusHidden || (!shown && c.hwnd != nullptr && (focus == c.hwnd || IsChild(c.hwnd, focus)));
    }
    // The keyboard stays in the dialog, on the tab strip, when its field goes with its page.
    if (focusHidden && tabs != nullptr) SendMessageA(d->hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tabs), TRUE);
}
