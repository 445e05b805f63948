#include "player/display_name.h"

#include "platform/shell.h"
#include "platform/wintypes.h"
#include "recording/recording_file.h"
#include "settings/format.h"

const char* GetDisplayName(const char* path) {
    if (path == nullptr || path[0] == '\0') return "(Untitled)";
    const char* name = path;
    // Both separators count, so a path written for either platform shows its file name.
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/') name = p + 1;
    }
    return name;
}

void ShowCurrentFileTitle() {
    char title[MAX_PATH + 16];
    FormatText(title, sizeof title, "Kelmor - %s", GetDisplayName(gszFile));
    ShellSetWindowTitle(title);
}
