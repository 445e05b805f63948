#include "ui/tray_icon.h"

#include <cstring>

#include "platform/tray_icon.h"

namespace {

// The code the icon shows, 0 while there is none. Set as well as Add count: a Set that
// follows an Add of the same code would only repeat it.
int gnTrayCode = 0;

const int kTipSize = 64;

// A tip holds at most 63 characters.
void CopyTip(char (&out)[kTipSize], const char* tip) {
    out[0] = '\0';
    if (tip != nullptr) strncat(out, tip, kTipSize - 1);
}

}  // namespace

bool AddTrayIcon(int code, const char* tip) {
    char text[kTipSize];
    CopyTip(text, tip);
    gnTrayCode = code;
    return ShellAddTrayIcon(code, text);
}

void SetTrayIcon(int code, const char* tip) {
    if (code == gnTrayCode) return;
    char text[kTipSize];
    CopyTip(text, tip);
    gnTrayCode = code;
    ShellSetTrayIcon(code, text);
}

void RemoveTrayIcon() {
    if (gnTrayCode == 0) return;
    gnTrayCode = 0;
    ShellRemoveTrayIcon();
}

void ResetTrayIconState() { gnTrayCode = 0; }
