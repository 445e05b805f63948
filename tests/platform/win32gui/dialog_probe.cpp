// Runs the real Advanced Options description through the Windows face, twice, with a
// procedure that prints what it is told, for tests/e2e/wine_dialog.sh to drive as a
// person would. Once the dialog shows, the probe prints where the controls the script
// presses are on the screen ("at NAME X Y") and "shown"; every report is printed as
// "NAME NOTIFICATION", the values read back at OK as "ok ...", each run's end as
// "result N". A plain F1 prints "F1", as the main window's help would run.
#include <cstdio>

#include "platform/win32gui/common_controls.h"
#include "platform/win32gui/win32gui.h"
#include "ui/advanced_options_description.h"

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

void SayAt(const char* name, HWND w, const RECT* part) {
    RECT r;
    if (part != nullptr) {
        r = *part;
        MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
    } else {
        GetWindowRect(w, &r);
    }
    printf("at %s %d %d\n", name, static_cast<int>((r.left + r.right) / 2), static_cast<int>((r.top + r.bottom) / 2));
}

// Once the dialog is on the screen: where a person finds what the script presses.
void CALLBACK Shown(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    SayAt("minimize", Control(IDC_MINIMIZE), nullptr);
    SayAt("editor", Control(IDC_EDITOR), nullptr);
    for (int tab = 0; tab < OPTIONS_TAB_COUNT; ++tab) {
        RECT r;
        SendMessageA(Control(IDC_OPTIONS_TABS), TCM_GETITEMRECT, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&r));
        char name[16];
        snprintf(name, sizeof name, "tab%d", tab);
        SayAt(name, Control(IDC_OPTIONS_TABS), &r);
    }
    // The up arrow: the upper half of the arrows.
    RECT arrows;
    GetClientRect(Control(IDC_RECENT_SIZE_ARROWS), &arrows);
    arrows.bottom = arrows.bottom / 2;
    SayAt("recent-up", Control(IDC_RECENT_SIZE_ARROWS), &arrows);
    SayAt("pointer", Control(IDC_POINTER_PICTURE), nullptr);
    SayAt("log-level", Control(IDC_LOG_LEVEL), nullptr);
    printf("shown\n");
    fflush(stdout);
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
            Say("page %d display-shown %d behavior-shown %d\n", gFace.dialogListSelection(dialog, control), display,
                behavior);
            break;
        }
        case IDC_POINTER_PICTURE:
            if (notification == NOTIFY_CLICKED) gFace.dialogCapturePointer(dialog, control, true);
            break;
        default:
            break;
    }
}

bool FunctionKey(int virtualKey) {
    Say("F%d\n", virtualKey - VK_F1 + 1);
    return true;
}

}  // namespace

int main() {
    gFace.size = sizeof gFace;
    gFace.version = KELMOR_FACE_VERSION;
    Win32FillDialogFace(&gFace);
    Win32SetFunctionKeyCommand(FunctionKey);
    for (int run = 0; run < 2; ++run) {
        Say("result %d\n", gFace.dialogRun(&kAdvancedOptionsDialog, Procedure));
    }
    return 0;
}
