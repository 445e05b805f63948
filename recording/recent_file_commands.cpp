#include "recording/recent_file_commands.h"

#include <cstring>

#include "platform/window.h"
#include "platform/wintypes.h"
#include "recording/file_commands.h"
#include "recording/recording_file.h"
#include "settings/format.h"
#include "settings/recent_files.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/message_box.h"

void OnOpenRecentFile(int id) {
    if (id < ID_RECENT_FIRST || id > ID_RECENT_LAST) return;
    char path[RECENT_PATH_SIZE];
    GetRecentFile(id - ID_RECENT_FIRST + 1, path);
    if (path[0] != '\0' && GetFileSize32(path) != 0) {
        // The unsaved recording is asked about under its own name, before the current
        // file becomes the recent one: asking later would name the wrong file and leave
        // the wrong name behind on Cancel.
        if (!AskToSaveChanges()) return;
        gRecording.gbModified = false;
        memcpy(gRecording.gszFile, path, strlen(path) + 1);
        gRecording.gbFileChosen = true;
        SendCommand(ID_OPEN);
        return;
    }
    char text[1024];
    FormatText(text, sizeof text,
               "Unable to open recent file %s!\n\nDo you want to remove it from the recent file list menu?", path);
    if (KelmorMessageBox(text, path, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        RemoveRecentFile(path);
        RebuildRecentMenu(true, true);
    }
    gRecording.gszFile[0] = '\0';
    ShellSetWindowTitle("Kelmor");
}

void OnResetRecentFiles(int) {
    int answer = KelmorMessageBox(
        "This command will remove all of the previous links to recent files.\n\nAre you sure that you want to proceed?",
        "Reset Recent Files", MB_YESNO | MB_ICONQUESTION);
    if (answer == IDNO) return;
    ResetRecentFiles();
}
