// Executable recordings. The layout has no header: the program's file, then either the
// event records or the text of a script, told apart by the loader from the first byte
// behind the program (0 for records).
#include "recording/executable_recording.h"

#include <cstring>
#include <new>

#include "platform/file.h"
#include "platform/system.h"
#include "platform/wintypes.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/format.h"
#include "settings/settings.h"
#include "ui/icon_ids.h"
#include "ui/message_box.h"

namespace {

enum : uint32_t {
    RECORD_SIZE = 20,
    RECORDS_PER_WRITE = 3200,
    MODULE_PATH_SIZE = 512,
};

char gRecordBlock[RECORDS_PER_WRITE * RECORD_SIZE];

bool ShowNoActionsIfEmpty() {
    if (nEventCount > 0) return false;
    KelmorMessageBox(kNoActionsText, "Save Error", MB_OK | MB_ICONEXCLAMATION);
    return true;
}

void ShowSaveFailure(const char* name) {
    KelmorMessageBoxF("Error", MB_OK | MB_ICONEXCLAMATION, "Unable to save file '%s'!", name);
}

void PutRecord(char* p, const EVENTMSG& e) {
    const uint32_t fields[5] = {e.message, e.paramL, e.paramH, e.time, e.hwnd};
    for (uint32_t v : fields) {
        for (int k = 0; k < 4; ++k) *p++ = static_cast<char>((v >> (8 * k)) & 0xFFu);
    }
}

// The script embedded as text: the current file's bytes up to its first NUL. Read
// before the program is copied, because the executable may replace the very file the
// script came from. An executable recording holds its text behind the program.
// Returns a buffer for delete[], or nullptr after showing why.
char* ReadScriptText(uint32_t* length) {
    const uint32_t size = GetFileSize32(gszFile);
    const uint32_t start = FindInFileName(gszFile, ".exe") != nullptr ? EMBEDDED_RECORDING_OFFSET : 0;
    const uint32_t available = size > start ? size - start : 0;
    char* text = new (std::nothrow) char[static_cast<size_t>(available) + 1];
    if (text == nullptr) {
        KelmorMessageBox("Unable to allocate memory", "Internal Error", MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    SysFile file = SysOpenRead(gszFile);
    int got = file == SYS_NO_FILE ? -1 : SysReadAt(file, start, text, available);
    SysClose(file);
    if (got >= 0) {
        text[got] = '\0';
        *length = static_cast<uint32_t>(strlen(text));
    }
    // A file that lost its text since it was loaded would make a program with nothing
    // to play, which start-up takes for the plain program.
    if (got < 0 || *length == 0) {
        delete[] text;
        KelmorMessageBox("Unable to read file", gszFile, MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    return text;
}

// The event records, empty events included, in blocks. The loader reads a recording
// whose first byte is not 0 as text, and the low byte of a message such as WM_KEYUP is
// not 0; such a recording gets an empty event in front, at the time of its first event
// so the playback waits no differently.
bool AppendRecords(SysFile file) {
    uint32_t used = 0;
    if ((gEvents[0].message & 0xFFu) != 0) {
        EVENTMSG lead{};
        lead.time = gEvents[0].time;
        PutRecord(gRecordBlock, lead);
        used = RECORD_SIZE;
    }
    for (int32_t i = 0; i < nEventCount; ++i) {
        if (used == sizeof gRecordBlock) {
            if (!SysWriteAtEnd(file, gRecordBlock, used)) return false;
            used = 0;
        }
        PutRecord(gRecordBlock + used, gEvents[i]);
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
    // Only a script needs its text: a recording loaded from records, or one whose
    // commands are gone, travels as records even if its first event is empty.
    const bool textForm = gEvents[0].message == 0 && gszFile[0] != '\0' && nScriptCommands > 0;
    char* text = nullptr;
    uint32_t textLength = 0;
    if (textForm && (text = ReadScriptText(&textLength)) == nullptr) return false;

    // A program that could not be copied leaves nothing worth appending to.
    bool written = SysCopyFile(programPath, exeName);
    if (written) {
        SysFile file = SysOpenReadWrite(exeName);
        written = file != SYS_NO_FILE &&
                  (textForm ? SysWriteAtEnd(file, text, textLength) : AppendRecords(file));
        SysClose(file);
    }
    delete[] text;
    if (!written) ShowSaveFailure(exeName);
    return written;
}

void CreateExecutableRecording(int) {
    if (ShowNoActionsIfEmpty()) return;
    char name[MAX_PATH];
    // A proposal cut to fit is still only a proposal.
    if (!MakeExecutableName(gszFile, name, sizeof name)) FormatText(name, sizeof name, "%s", ".exe");
    if (ChooseFileName(name, kExeFilters, true, 1) == 0 || name[0] == '\0') return;

    char exeName[MAX_PATH];
    if (!MakeExecutableName(name, exeName, sizeof exeName)) {
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
    gbModified = false;
    char notice[MAX_PATH + 64];
    FormatText(notice, sizeof notice, "The file \"%s\" was successfully created.", exeName);
    ShowIconMessage(notice, "Create Executable", gdwMsgBoxStyle, IDI_KELMOR);
}
