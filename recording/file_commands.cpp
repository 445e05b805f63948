#include "recording/file_commands.h"

#include <cstring>

#include "platform/desktop.h"
#include "platform/window.h"
#include "platform/wintypes.h"
#include "recording/display_name.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "recording/start_program.h"
#include "settings/format.h"
#include "settings/recent_files.h"
#include "settings/settings.h"
#include "text/command_line.h"
#include "text/texts.h"
#include "ui/command_ids.h"
#include "ui/command_state.h"
#include "ui/commands.h"
#include "platform/picture_ids.h"
#include "ui/message_box.h"
#include "ui/pane_view.h"

namespace {

enum SaveOutcome { SAVE_DONE, SAVE_CANCELLED, SAVE_FAILED };

// Copies text into a buffer of size bytes, cutting what does not fit.
void CopyText(char* out, size_t size, const char* text) {
    size_t len = strnlen(text, size - 1);
    memmove(out, text, len);
    out[len] = '\0';
}

void SetLastFileTypeFromName() {
    gSettings.gbLastFileType = FindInFileName(gRecording.gszFile, ".klx") != nullptr ? 2 : 1;
}

// Runs the save dialog until it gives a name whose extension agrees with the filter.
int ChooseSaveName() {
    int result = ChooseFileName(gRecording.gszFile, kSaveAsFilters, true, gSettings.gbLastFileType);
    while (result == 2) {
        KelmorMessageBox(
            "The Extension and File Type choices are not the same.\n\nPlease choose between .KLR or .KLX as a file "
            "format.",
            "File Type Conflict", MB_OK | MB_ICONEXCLAMATION);
        result = ChooseFileName(gRecording.gszFile, kSaveAsFilters, true, gSettings.gbLastFileType);
    }
    return result;
}

SaveOutcome SaveAs() {
    if (gRecording.nEventCount == 0) {
        KelmorMessageBox(kNoActionsText, "Save Error", MB_OK | MB_ICONEXCLAMATION);
        return SAVE_FAILED;
    }
    char remembered[MAX_PATH];
    CopyText(remembered, sizeof remembered, gRecording.gszFile);
    for (;;) {
        if (gRecording.gszFile[0] == '\0') CopyText(gRecording.gszFile, sizeof gRecording.gszFile, "Task1");
        if (ChooseSaveName() == 0) {
            CopyText(gRecording.gszFile, sizeof gRecording.gszFile, remembered);
            return SAVE_CANCELLED;
        }
        if (RefuseExecutableSaveName(gRecording.gszFile)) continue;
        SetLastFileTypeFromName();
        if (GetFileSize32(gRecording.gszFile) != 0 && gSettings.gbPromptForSave) {
            int answer = KelmorMessageBoxF("Save", MB_YESNO | MB_ICONQUESTION,
                                           "%s\nThis file already exists.\nReplace existing file?", gRecording.gszFile);
            if (answer != IDYES) {
                CopyText(gRecording.gszFile, sizeof gRecording.gszFile, remembered);
                continue;
            }
        }
        break;
    }
    char saveName[MAX_PATH];
    // A name that leaves no room for the extension cannot be saved under its own name;
    // cutting it would write some other file.
    if (!MakeSaveName(gRecording.gszFile, saveName, sizeof saveName)) {
        KelmorMessageBoxF("Error", MB_OK | MB_ICONEXCLAMATION, "Unable to save file '%s'!", gRecording.gszFile);
        return SAVE_FAILED;
    }
    CopyText(gRecording.gszFile, sizeof gRecording.gszFile, saveName);
    // The old file stays until the new one is complete (SaveRecordingToFile).
    AddRecentFile(gRecording.gszFile);
    RebuildRecentMenu(true, true);
    // Set before the file is created: should creating it fail, the file is missing and
    // opening a menu greys the item anyway.
    ShellEnableCommand(ID_EDIT_SCRIPT, FindInFileName(gRecording.gszFile, ".klr") == nullptr);
    if (!SaveRecordingToFile(gRecording.gszFile)) return SAVE_FAILED;
    ShowCurrentFileTitle();
    gRecording.gbModified = false;
    return SAVE_DONE;
}

// New and Close: forget the recording and its file.
bool CloseRecording() {
    if (!AskToSaveChanges()) return false;
    SetCommandState(CMD_STATE_EMPTY);
    ClearRecording();
    gRecording.gszFile[0] = '\0';
    gRecording.gbModified = false;
    ShellSetWindowTitle("Kelmor");
    return true;
}

}  // namespace

bool RefuseExecutableSaveName(const char* name) {
    if (FindInFileName(name, ".exe") == nullptr) return false;
    KelmorMessageBox(
        "To compile an executable program, please use the \"Create Executable Program (.EXE)\" command in the "
        "Tools Menu.\n\nYou cannot create an .EXE program with \"File Save\".",
        "Save Error", MB_OK | MB_ICONEXCLAMATION);
    return true;
}

bool AskToSaveChanges() {
    if (!gRecording.gbModified || !gSettings.gbPromptForSave || gRecording.nEventCount <= 0) return true;
    int answer = KelmorMessageBoxF("Confirm Action", MB_YESNOCANCEL | MB_ICONEXCLAMATION, "Save changes to %s?",
                                   gRecording.gszFile[0] != '\0' ? gRecording.gszFile : kUntitled);
    if (answer == IDCANCEL) return false;
    // A Save As that was cancelled or failed leaves the changes unsaved: going on would
    // throw them away although the user asked to keep them.
    if (answer == IDYES) return SaveAs() == SAVE_DONE;
    return true;
}

void OnNew(int) {
    if (!CloseRecording()) return;
    if (gSettings.gbPromptForSave) {
        ShowIconMessage("Press the red \"Start Recording\" button to begin saving actions.", "New Recording",
                        gSettings.gdwMsgBoxStyle, IDI_KELMOR);
    }
}

void OnClose(int) { CloseRecording(); }

void OnOpen(int) {
    if (!AskToSaveChanges()) return;
    // The dialog starts from the current file; the recording's name changes only once
    // another was chosen.
    char chosen[MAX_PATH];
    CopyText(chosen, sizeof chosen, gRecording.gszFile);
    if (!gRecording.gbFileChosen && ChooseFileName(chosen, kOpenFilters, false, 1) == 0) return;
    CopyText(gRecording.gszFile, sizeof gRecording.gszFile, chosen);
    if (!gRecording.gbFileChosen) SetLastFileTypeFromName();
    gRecording.gbFileChosen = false;
    AddRecentFile(gRecording.gszFile);
    RebuildRecentMenu(true, true);
    if (LoadRecording(gRecording.gszFile) < 0) return;
    ShowCurrentFileTitle();
    SetCommandState(CMD_STATE_IDLE);
    ViewFocusSpeedButton(gSettings.gbSpeed);
    gRecording.gbModified = false;
    if (gSettings.gbPlayImmediately) {
        gRecording.nCompletedPasses = 0;
        SendCommand(ID_PLAY);
    }
}

void OnReloadCurrentFile(int) {
    if (gRecording.gszFile[0] != '\0') LoadRecording(gRecording.gszFile);
}

void OnSaveAs(int) { SaveAs(); }

void EditFile(const char* path) {
    char editor[256];
    ReadEditorSetting(editor);
    // The default stands for the desktop's own editor, which the desktop opens itself
    // where it can: the opener program is missing from many systems.
    if (strcmp(editor, kDefaultEditor) == 0 && ShellOpenTextFile(path)) return;
    char file[4 * MAX_PATH + 3];
    QuoteArgument(file, sizeof file, path, SystemCommandLineRules());
    char commandLine[sizeof editor + sizeof file + 1];
    FormatText(commandLine, sizeof commandLine, "%s %s", editor, file);
    if (!StartProgram(commandLine)) {
        KelmorMessageBoxF("Edit Error", MB_OK | MB_ICONEXCLAMATION, "Unable to edit %s with \"%s\"", path, editor);
    }
}

void OnEditScriptFile(int) { EditFile(gRecording.gszFile); }

void OnDisplayNumberOfActions(int) {
    if (gRecording.nEventCount != 0) {
        KelmorMessageBoxF("Total Commands", MB_OK | MB_ICONINFORMATION, "Total number of actions in %s: %d",
                          gRecording.gszFile[0] != '\0' ? gRecording.gszFile : "the current recording",
                          gRecording.nEventCount);
    } else {
        KelmorMessageBox(kNoActionsText, "Total Commands", MB_OK | MB_ICONINFORMATION);
    }
}
