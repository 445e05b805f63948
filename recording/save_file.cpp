#include "recording/save_file.h"

#include "platform/file.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/wintypes.h"
#include "ui/message_box.h"

namespace {

enum { REASON_SIZE = 256, MODULE_PATH_SIZE = 512 };

// Writing over a program file would replace the program with a recording; over the
// running one, the next start would run the recording's bytes.
bool IsProgramFile(const char* name, const char* modeFrom) {
    char self[MODULE_PATH_SIZE];
    if (SysGetModuleFileName(self, sizeof self) > 0 && SysIsSameFile(name, self)) return true;
    return modeFrom != nullptr && SysIsSameFile(name, modeFrom);
}

}  // namespace

void ShowSaveFailure(const char* name) {
    char reason[REASON_SIZE];
    if (SysFormatError(SysGetLastError(), reason, sizeof reason)) {
        KelmorMessageBoxF("Error", MB_ICONEXCLAMATION, "Unable to save file '%s'!\n\n%s.", name, reason);
    } else {
        KelmorMessageBoxF("Error", MB_ICONEXCLAMATION, "Unable to save file '%s'!", name);
    }
}

intptr_t BeginSave(const char* name, const char* modeFrom) {
    if (IsProgramFile(name, modeFrom)) {
        KelmorMessageBoxF("Error", MB_ICONEXCLAMATION, "Unable to save file '%s'!\n\nIt is the program file itself.",
                          name);
        return SYS_NO_FILE;
    }
    // The store would be replaced whole, every setting, Mapping and ShortType lost.
    if (StoreUsesFile(name)) {
        KelmorMessageBoxF("Error", MB_ICONEXCLAMATION, "Unable to save file '%s'!\n\nIt is the settings file itself.",
                          name);
        return SYS_NO_FILE;
    }
    SysFile file = SysBeginReplacement(name, modeFrom);
    if (file == SYS_NO_FILE) ShowSaveFailure(name);
    return file;
}

bool FinishSave(intptr_t file, const char* name, bool written) {
    if (written && SysCommitReplacement(file)) return true;
    if (!written) SysDiscardReplacement(file);
    ShowSaveFailure(name);
    return false;
}
