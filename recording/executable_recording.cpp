// Executable recordings. The layout has no header: the program's file, then either the
// event records or the text form of a script, told apart by the loader from the first
// byte behind the program (0 for records, the text form's ';' otherwise).
#include "recording/executable_recording.h"

#include <cstring>

#include "platform/file.h"
#include "platform/system.h"
#include "platform/wintypes.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "recording/save_file.h"
#include "settings/format.h"
#include "settings/settings.h"
#include "platform/picture_ids.h"
#include "ui/message_box.h"

namespace {

enum : uint32_t {
    RECORD_SIZE = 20,
    RECORDS_PER_WRITE = 3200,
    MODULE_PATH_SIZE = 512,
};

char gRecordBlock[RECORDS_PER_WRITE * RECORD_SIZE];

bool ShowNoActionsIfEmpty() {
    if (gRecording.nEventCount > 0) return false;
    KelmorMessageBox(kNoActionsText, "Save Error", MB_OK | MB_ICONEXCLAMATION);
    return true;
}

void PutRecord(char* p, const EVENTMSG& e) {
    const uint32_t fields[5] = {e.message, e.paramL, e.paramH, e.time, e.hwnd};
    for (uint32_t v : fields) {
        for (int k = 0; k < 4; ++k) *p++ = static_cast<char>((v >> (8 * k)) & 0xFFu);
    }
}

// The event records, empty events included, in blocks. The loader reads a recording
// whose first byte is not 0 as text, and the low byte of a message such as WM_KEYUP is
// not 0; such a recording gets an empty event in front, at the time of its first event
// so the playback waits no differently.
bool AppendRecords(SysFile file) {
    uint32_t used = 0;
    if ((gRecordingStore.gEvents[0].message & 0xFFu) != 0) {
        EVENTMSG lead{};
        lead.time = gRecordingStore.gEvents[0].time;
        PutRecord(gRecordBlock, lead);
        used = RECORD_SIZE;
    }
    for (int32_t i = 0; i < gRecording.nEventCount; ++i) {
        if (used == sizeof gRecordBlock) {
            if (!SysWriteAtEnd(file, gRecordBlock, used)) return false;
            used = 0;
        }
        PutRecord(gRecordBlock + used, gRecordingStore.gEvents[i]);
        used += RECORD_SIZE;
    }
    return SysWriteAtEnd(file, gRecordBlock, used);
}

}  // namespace

bool MakeExecutableName(const char* path, char* out, int size) {
    if (size <= 0) return false;
    out[0] = '\0';
    const char* dot = strchr(FileNamePart(path), '.');
    const size_t keep = dot != nullptr ? static_cast<size_t>(dot - path) : strlen(path);
    if (keep + 4 >= static_cast<size_t>(size)) return false;
    memcpy(out, path, keep);
    memcpy(out + keep, ".exe", 5);
    return true;
}

bool WriteExecutableRecording(const char* exeName, const char* programPath) {
    if (ShowNoActionsIfEmpty()) return false;
    SysFile file = BeginSave(exeName, programPath);
    if (file == SYS_NO_FILE) return false;
    // Script commands travel in the text form, whatever the recording's first line; a
    // recording without any (loaded from records, or whose commands are gone) travels
    // as records even if it holds empty events.
    const bool written = SysAppendFileContent(file, programPath) &&
                         (gRecording.nScriptCommands > 0 ? WriteTextRecording(file) : AppendRecords(file));
    return FinishSave(file, exeName, written);
}

void CreateExecutableRecording(int) {
    if (ShowNoActionsIfEmpty()) return;
    char name[MAX_PATH];
    // A proposal cut to fit is still only a proposal.
    if (!MakeExecutableName(gRecording.gszFile, name, sizeof name)) FormatText(name, sizeof name, "%s", ".exe");
    if (ChooseFileName(name, kExeFilters, true, 1) == 0 || name[0] == '\0') return;

    char exeName[MAX_PATH];
    if (!MakeExecutableName(name, exeName, sizeof exeName)) {
        SysSetLastError(0);  // too long a name: no system call failed
        ShowSaveFailure(name);
        return;
    }
    if (GetFileSize32(exeName) != 0) {
        const int answer = KelmorMessageBoxF("Create .EXE", MB_YESNO | MB_ICONQUESTION,
                                             "%s\nThis file already exists.\nReplace existing file?", exeName);
        if (answer != IDYES) return;
    }
    char program[MODULE_PATH_SIZE];
    if (SysGetModuleFileName(program, sizeof program) == 0) program[0] = '\0';
    if (!WriteExecutableRecording(exeName, program)) return;
    gRecording.gbModified = false;
    char notice[MAX_PATH + 64];
    FormatText(notice, sizeof notice, "The file \"%s\" was successfully created.", exeName);
    ShowIconMessage(notice, "Create Executable", gSettings.gdwMsgBoxStyle, IDI_KELMOR);
}
