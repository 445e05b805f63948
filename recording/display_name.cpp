#include "recording/display_name.h"

#include "platform/window.h"
#include "platform/wintypes.h"
#include "recording/recording_file.h"
#include "settings/format.h"
#include "text/texts.h"

const char* GetDisplayName(const char* path) {
    if (path == nullptr || path[0] == '\0') return kUntitled;
    // Both separators count, so a path written for either platform shows its file name.
    return FileNamePart(path);
}

void ShowCurrentFileTitle() {
    char title[MAX_PATH + 16];
    FormatText(title, sizeof title, "Kelmor - %s", GetDisplayName(gRecording.gszFile));
    ShellSetWindowTitle(title);
}
