// Runs real descriptions of ui/ through the Windows face with procedures that print what
// they are told, for tests/e2e/wine_dialog.sh to drive as a person would: first the panes
// as the child dialog of a window of the probe's (until a gadget is clicked), then the
// Advanced Options dialog twice, owned by that window. Once a dialog shows, the probe
// prints where the controls the script presses are on the screen ("at NAME X Y") and
// "shown"; every report is printed as "NAME NOTIFICATION" ("pane NAME NOTIFICATION"),
// the values read back at OK as "ok ...", each run's end as "result N". A plain F1 prints
// "F1", as the main window's help would run. Last come the About and Legal boxes, to be
// seen and answered with Enter and Esc.
#include <cstdio>
#include <cstring>

#include "platform/win32gui/common_controls.h"
#include "platform/win32gui/win32gui.h"
#include "ui/advanced_options_description.h"
#include "platform/picture_ids.h"
#include "ui/command_ids.h"
#include "ui/pane_description.h"
#include "ui/small_dialog_description.h"

namespace {

KelmorFace gFace;

struct Name {
    int id;
    const char* name;
};
const Name kNames[] = {
    {IDC_MINIMIZE, "minimize"}, {IDC_EDITOR, "editor"},          {IDC_OPTIONS_TABS, "tabs"},
    {IDOK, "ok"},               {IDCANCEL, "cancel"},            {IDC_RECENT_SIZE_ARROWS, "recent-arrows"},
    {IDC_POINTER_PICTURE, "pointer"}, {IDC_LOG_LEVEL, "log-level"}, {IDC_RECENT_SIZE, "recent"},
};

const char* NameOf(int id) {
    for (const Name& n : kNames) {
        if (n.id == id) return n.name;
    }
    return "other";
}

void Say(const char* format, int a = 0, int b = 0, int c = 0) {
    printf(format, a, b, c);
    fflush(stdout);
}

HWND Control(int id) { return GetDlgItem(Win32DialogWindow(ID_ADVANCED_OPTIONS_DIALOG), id); }

void SayAt(const char* name, HWND w, const RECT* part = nullptr) {
    RECT r;
    if (part != nullptr) {
        r = *part;
        MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
    } else {
        GetWindowRect(w, &r);
    }
    printf("at %s %d %d\n", name, static_cast<int>((r.left + r.right) / 2), static_cast<int>((r.top + r.bottom) / 2));
}

// Where each tab of a strip is: PREFIX0, PREFIX1, ...
void SayTabs(const char* prefix, HWND tabs, int count) {
    for (int tab = 0; tab < count; ++tab) {
        RECT r;
        SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&r));
        char name[32];
        snprintf(name, sizeof name, "%s%d", prefix, tab);
        SayAt(name, tabs, &r);
    }
}

// Once the dialog is on the screen: where a person finds what the script presses.
void CALLBACK Shown(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    SayAt("minimize", Control(IDC_MINIMIZE), nullptr);
    SayAt("editor", Control(IDC_EDITOR), nullptr);
    SayAt("browse", Control(IDC_EDITOR_BROWSE), nullptr);
    SayTabs("tab", Control(IDC_OPTIONS_TABS), OPTIONS_TAB_COUNT);
    // The up arrow: the upper half of the arrows.
    RECT arrows;
    GetClientRect(Control(IDC_RECENT_SIZE_ARROWS), &arrows);
    arrows.bottom = arrows.bottom / 2;
    SayAt("recent-up", Control(IDC_RECENT_SIZE_ARROWS), &arrows);
    SayAt("pointer", Control(IDC_POINTER_PICTURE), nullptr);
    SayAt("log-level", Control(IDC_LOG_LEVEL), nullptr);
    SayAt("log-browse", Control(IDC_LOG_FILE_BROWSE), nullptr);
    printf("owner-enabled %d\n", IsWindowEnabled(GetWindow(Win32DialogWindow(ID_ADVANCED_OPTIONS_DIALOG), GW_OWNER)));
    printf("shown\n");
    fflush(stdout);
}

// A box opened from the dialog belongs to it and holds it while open.
void CALLBACK BoxShown(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND box = FindWindowA(nullptr, "Kelmor probe box");
    HWND dialog = Win32DialogWindow(ID_ADVANCED_OPTIONS_DIALOG);
    Say("box owner-is-dialog %d dialog-enabled %d\n", box != nullptr && GetWindow(box, GW_OWNER) == dialog,
        IsWindowEnabled(dialog) != FALSE);
    Say("box shown\n");
}

void Procedure(int dialog, int message, int control, int notification) {
    if (message == DIALOG_INIT) {
        for (const char* name : kOptionsTabNames) gFace.dialogListAdd(dialog, IDC_OPTIONS_TABS, name);
        gFace.dialogSetText(dialog, IDC_RECENT_SIZE, "4");
        gFace.dialogSetPosition(dialog, IDC_LOG_LEVEL, 3);
        gFace.dialogSetImage(dialog, IDC_POINTER_PICTURE, 1009);
        gFace.dialogFocus(dialog, IDC_EDITOR);
        SetTimer(nullptr, 0, 500, Shown);
        return;
    }
    printf("%s %d\n", NameOf(control), notification);
    fflush(stdout);
    switch (control) {
        case IDOK: {
            char editor[64];
            gFace.dialogGetText(dialog, IDC_EDITOR, editor, sizeof editor);
            printf("ok editor=%s minimize=%d tab=%d level=%d\n", editor, gFace.dialogIsChecked(dialog, IDC_MINIMIZE),
                   gFace.dialogListSelection(dialog, IDC_OPTIONS_TABS), gFace.dialogGetPosition(dialog, IDC_LOG_LEVEL));
            fflush(stdout);
            gFace.dialogEnd(dialog, IDOK);
            break;
        }
        case IDCANCEL:
            gFace.dialogEnd(dialog, IDCANCEL);
            break;
        case IDC_OPTIONS_TABS: {
            // Only the chosen page's controls show.
            const bool display = IsWindowVisible(Control(IDC_PROMPTS)) != FALSE;
            const bool behavior = IsWindowVisible(Control(IDC_MINIMIZE)) != FALSE;
            // The keyboard is not left on a control of the page gone.
            printf("page %d display-shown %d behavior-shown %d focus-on-tabs %d\n",
                   gFace.dialogListSelection(dialog, control), display, behavior, GetFocus() == Control(control));
            fflush(stdout);
            break;
        }
        case IDC_EDITOR_BROWSE:
            SetTimer(nullptr, 0, 700, BoxShown);
            Say("box %d\n", gFace.messageBox("Choose an editor.", "Kelmor probe box", MB_OKCANCEL | MB_USERICON, IDI_KELMOR));
            break;
        case IDC_LOG_FILE_BROWSE: {
            // The name proposed is kept, the initial filter is the second.
            char name[MAX_PATH] = "probe.klr";
            int filter = 0;
            const bool chosen = gFace.fileDialog(true, name, sizeof name, "Kelmor Recording (*.klr)\0*.klr\0All Files (*.*)\0*.*\0",
                                                 2, &filter);
            const char* base = strrchr(name, '\\');
            printf("file %d %s filter %d\n", chosen, base != nullptr ? base + 1 : name, filter);
            fflush(stdout);
            break;
        }
        case IDC_POINTER_PICTURE:
            if (notification == NOTIFY_CLICKED) gFace.dialogCapturePointer(dialog, control, true);
            break;
        default:
            break;
    }
}

void CALLBACK SmallShown(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    Say("small shown\n");
}

// The small boxes as the program fills them; the link reports its click.
void SmallProcedure(int dialog, int message, int control, int) {
    if (message == DIALOG_INIT) {
        gFace.dialogSetText(dialog, IDC_ABOUT_VERSION, "Kelmor Version 3.13");
        gFace.dialogSetText(dialog, IDC_ABOUT_BUILD, "Build: 1  Time: 12:00");
        gFace.dialogSetText(dialog, IDC_ABOUT_LINK, "https://kelmor.example/");
        gFace.dialogSetImage(dialog, IDC_ABOUT_LOGO, 1012);
        gFace.dialogSetText(dialog, IDC_LEGAL_TEXT, "First line of the licence.\nSecond line.\n\nA paragraph.");
        char text[64];
        gFace.dialogGetText(dialog, IDC_LEGAL_TEXT, text, sizeof text);
        if (dialog == ID_LEGAL) Say(strcmp(text, "First line of the licence.\nSecond line.\n\nA paragraph.") == 0
                                        ? "legal text kept\n" : "legal text changed\n");
        SetTimer(nullptr, 0, 500, SmallShown);
        return;
    }
    if (control == IDC_ABOUT_LINK) gFace.dialogCheck(dialog, control, true);
    if (control == IDOK || control == IDCANCEL) gFace.dialogEnd(dialog, control);
}

HWND PaneControl(int id) { return GetDlgItem(Win32DialogWindow(ID_PANES), id); }

bool gPanesDone = false;

void CALLBACK PaneShown(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    SayTabs("pane-tab", PaneControl(IDC_PANE_TABS), PANE_TAB_COUNT);
    SayAt("keys", PaneControl(IDC_KEYS));
    SayAt("shorttype", PaneControl(IDC_SHORTTYPE));
    SayAt("gadget", PaneControl(IDC_GADGET_ADD_SHORTTYPE));
    SayAt("mapping-gadget", PaneControl(IDC_GADGET_ADD_MAPPING));
    printf("pane shown\n");
    fflush(stdout);
}

void PaneProcedure(int dialog, int message, int control, int notification) {
    if (message == DIALOG_INIT) {
        for (const char* name : kPaneTabNames) gFace.dialogListAdd(dialog, IDC_PANE_TABS, name);
        for (int i = 0; i < kGadgetCount; ++i) gFace.dialogSetImage(dialog, kGadgetFaces[i].id, kGadgetFaces[i].bitmap);
        gFace.dialogListSelect(dialog, IDC_PANE_TABS, TAB_KEYBOARD);
        gFace.dialogSetText(dialog, IDC_STATUS, "Ready");
        gFace.dialogFocus(dialog, IDC_KEYS);
        SetTimer(nullptr, 0, 500, PaneShown);
        return;
    }
    // A key captured as the editor does: the text shown, the caret after it ("keys caret
    // START END"), then the field emptied again.
    if (control == IDC_KEYS && notification == NOTIFY_KEY + VK_F7) {
        gFace.dialogSetText(dialog, IDC_KEYS, "Ctrl + F7");
        DWORD start = 0, end = 0;
        SendMessageA(PaneControl(IDC_KEYS), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        printf("keys caret %d %d\n", static_cast<int>(start), static_cast<int>(end));
        gFace.dialogSetText(dialog, IDC_KEYS, "");
    }
    const char* name = control == IDC_KEYS ? "keys" : control == IDC_SHORTTYPE ? "shorttype"
                       : control == IDC_GADGET_ADD_SHORTTYPE ? "gadget" : control == IDC_PANE_TABS ? "tabs" : "other";
    char text[32];
    gFace.dialogGetText(dialog, control, text, sizeof text);
    // The entry fields change only through the procedure, which here changes nothing.
    printf("pane %s %d text=%s\n", name, notification, text);
    fflush(stdout);
    if (control == IDC_GADGET_ADD_SHORTTYPE) gPanesDone = true;
}

// The panes in a window of the probe's, whose loop gives keys to them first.
HWND RunPanes() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = "KelmorDialogProbe";
    RegisterClassA(&windowClass);
    HWND owner = CreateWindowExA(0, "KelmorDialogProbe", "Kelmor dialog probe", WS_OVERLAPPEDWINDOW, 100, 100, 600, 400,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    Win32SetDialogOwner(owner);
    if (!gFace.dialogCreate(&kPaneDialog, PaneProcedure)) Say("no panes\n");
    ShowWindow(owner, SW_NORMAL);
    MSG m;
    while (!gPanesDone && GetMessageA(&m, nullptr, 0, 0) > 0) {
        if (Win32IsDialogMessage(&m)) continue;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return owner;
}

bool FunctionKey(int virtualKey) {
    Say("F%d\n", virtualKey - VK_F1 + 1);
    return true;
}

}  // namespace

// The seam as the program forwards it to the face; the panes' description file uses it.
void DialogShow(int dialog, int control, bool shown) { gFace.dialogShow(dialog, control, shown); }

int main() {
    gFace.size = sizeof gFace;
    gFace.version = KELMOR_FACE_VERSION;
    Win32FillDialogFace(&gFace);
    Win32SetFunctionKeyCommand(FunctionKey);
    RunPanes();
    for (int run = 0; run < 2; ++run) {
        Say("result %d\n", gFace.dialogRun(&kAdvancedOptionsDialog, Procedure));
    }
    Say("about %d\n", gFace.dialogRun(&kAboutDialog, SmallProcedure));
    Say("legal %d\n", gFace.dialogRun(&kLegalDialog, SmallProcedure));
    return 0;
}
