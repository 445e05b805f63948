#include "app/window_options.h"

#include <cstring>

#include "platform/dialog.h"
#include "platform/file.h"
#include "platform/system.h"
#include "platform/window.h"
#include "platform/wintypes.h"
#include "settings/format.h"
#include "settings/settings.h"
#include "text/command_line.h"
#include "ui/command_ids.h"
#include "ui/message_box.h"
#include "ui/pane_description.h"

namespace {

const char kRunValue[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Kelmor";
// The Run value holds a path of at most 255 characters.
const int kRunValueSize = 256;

// On Windows the Run value is a command line: a path with a blank left bare would have
// the system try its prefixes first (Z:\Kelmor.exe for Z:\Kelmor App\Kelmor.exe). The
// POSIX store makes its autostart entry from the bare path and quotes it itself.
void RunValueOf(const char* path, char* out, size_t size) {
    if (SystemCommandLineRules() == CommandLineRules::kWindows) {
        QuoteArgument(out, size, path, CommandLineRules::kWindows);
    } else {
        FormatText(out, static_cast<int>(size), "%s", path);
    }
}

// The path a Run value names, quoted (as written now) or bare (as written before).
void PathOfRunValue(char* value) {
    const size_t length = strlen(value);
    if (length >= 2 && value[0] == '"' && value[length - 1] == '"') {
        memmove(value, value + 1, length - 2);
        value[length - 2] = '\0';
    }
}

}  // namespace

void SetAlwaysOnTop(bool on) {
    gSettings.gbTopmost = on ? 1 : 0;
    ShellCheckMenuItem(ID_ALWAYS_ON_TOP, on);
    DialogCheck(ID_PANES, IDC_ALWAYS_ON_TOP, on);
    gSettings.gdwMsgBoxStyle = on ? (MB_TASKMODAL | MB_TOPMOST) : MB_TASKMODAL;
    ShellSetMainWindowTopmost(on);
}

void OnAlwaysOnTop(int) { SetAlwaysOnTop(gSettings.gbTopmost == 0); }

// The box flips as a click would flip it, and the pane then does what the click does.
void OnToggleTopmostChoice(int) {
    DialogCheck(ID_PANES, IDC_ALWAYS_ON_TOP, !DialogIsChecked(ID_PANES, IDC_ALWAYS_ON_TOP));
    SetAlwaysOnTop(DialogIsChecked(ID_PANES, IDC_ALWAYS_ON_TOP));
}

void FitMainWindow() { ShellShowPanes(gSettings.gbShowTabs != 0); }

void OnShowTabs(int) {
    gSettings.gbShowTabs = gSettings.gbShowTabs != 0 ? 0 : 1;
    ShellCheckMenuItem(ID_SHOW_TABS, gSettings.gbShowTabs != 0);
    FitMainWindow();
}

bool AutoStartIsOn() {
    char value[kRunValueSize];
    GetRegistryValue(HKEY_CURRENT_USER, kRunValue, REG_SZ, value, 0);
    PathOfRunValue(value);
    // Another copy of the program started at log-in is not this one.
    char own[kRunValueSize + 1];
    return value[0] != '\0' && SysGetModuleFileName(own, sizeof own) > 0 &&
           (strcmp(value, own) == 0 || SysIsSameFile(value, own));
}

void SetAutoStart(bool on) {
    if (on) {
        // One byte more than the value holds tells a path that would be cut: a cut path
        // would start some other program, or none, at the next log-in.
        char path[kRunValueSize + 1];
        const int length = SysGetModuleFileName(path, sizeof path);
        char value[kRunValueSize + 1];
        RunValueOf(path, value, sizeof value);
        if (length > 0 && length < kRunValueSize && strlen(value) < static_cast<size_t>(kRunValueSize)) {
            SetRegistryValue(HKEY_CURRENT_USER, kRunValue, REG_SZ, value, 0);
        } else {
            KelmorMessageBox("The program's path is too long to start it at log-in.", "Auto-Start",
                             MB_ICONEXCLAMATION);
        }
    } else {
        DeleteRegistryValue(HKEY_CURRENT_USER, kRunValue);
    }
    const bool isOn = AutoStartIsOn();
    ShellCheckMenuItem(ID_AUTO_START, isOn);
    DialogCheck(ID_PANES, IDC_AUTO_START, isOn);
}

void OnAutoStart(int) { SetAutoStart(!AutoStartIsOn()); }

void CheckWindowOptionItems() {
    ShellCheckMenuItem(ID_SHOW_TABS, gSettings.gbShowTabs != 0);
    ShellCheckMenuItem(ID_ALWAYS_ON_TOP, gSettings.gbTopmost != 0);
    ShellCheckMenuItem(ID_AUTO_START, AutoStartIsOn());
}
