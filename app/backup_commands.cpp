#include "app/backup_commands.h"

#include "platform/file.h"
#include "platform/system.h"
#include "platform/window.h"
#include "platform/wintypes.h"
#include "recording/recording_file.h"
#include "recording/save_file.h"
#include "settings/format.h"
#include "settings/settings.h"
#include "settings/settings_backup.h"
#include "ui/command_ids.h"
#include "ui/message_box.h"
#include "ui/platform_wording.h"

namespace {

const char kBackupFilters[] = "Registry Files (*.reg)\0*.reg\0Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";

struct BackupChoice {
    int id;
    const char* fileName;  // proposed in the home folder
    int blocks;
};

const BackupChoice kBackupChoices[] = {
    {ID_BACKUP_ALL, "KelmorBackup.reg", BACKUP_ALL},
    {ID_BACKUP_BASIC, "KelmorSettings.reg", BACKUP_BASIC},
    {ID_BACKUP_MAPPINGS, "KelmorMappings.reg", BACKUP_MAPPINGS},
    {ID_BACKUP_SHORTTYPES, "KelmorShortTypes.reg", BACKUP_SHORTTYPES},
};

}  // namespace

bool SaveSettingsBackup(const char* name, int blocks) {
    intptr_t file = BeginSave(name, nullptr);
    if (file == SYS_NO_FILE) return false;
    return FinishSave(file, name, WriteSettingsBackup(file, blocks));
}

void OnBackupSettings(int id) {
    const BackupChoice* choice = nullptr;
    for (const BackupChoice& c : kBackupChoices) {
        if (c.id == id) choice = &c;
    }
    if (choice == nullptr) return;
    char name[MAX_PATH];
    // Without a home folder the dialog starts from its own folder.
    if (!SysHomeFilePath(choice->fileName, name, sizeof name)) FormatText(name, sizeof name, "%s", choice->fileName);
    // A name typed where a filter's extension is expected is taken as it is.
    if (ChooseFileName(name, kBackupFilters, true, 1) == 0) return;
    if (GetFileSize32(name) != 0) {
        const int answer = KelmorMessageBoxF("Export", MB_YESNO | MB_ICONQUESTION,
                                             "%s\nThis file already exists.\nReplace existing file?", name);
        if (answer != IDYES) return;
    }
    // The window's place is exported as it is now, as the exit step would save it.
    int32_t left = 0, top = 0;
    if (ShellGetMainWindowPosition(&left, &top)) {
        gSettings.gnWindowLeft = left;
        gSettings.gnWindowTop = top;
    }
    if (!SaveSettingsBackup(name, choice->blocks)) return;
    KelmorMessageBoxF("Export Complete", MB_OK | MB_ICONINFORMATION,
                      PlatformText("The settings were saved in \"%s\"\n\nYou can reload these settings by "
                                   "double-clicking on this file when Kelmor is not running."),
                      name);
}
