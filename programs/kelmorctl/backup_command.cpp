// backup: the settings as the window's Backup commands write them, without the window.
#include <cstdio>
#include <cstring>

#include "app/backup_commands.h"
#include "platform/console/terminal_text.h"
#include "platform/wintypes.h"
#include "programs/kelmorctl/subcommands.h"
#include "settings/settings.h"
#include "settings/settings_backup.h"

namespace {

struct BackupKind {
    const char* name;
    int blocks;
};

const BackupKind kBackupKinds[] = {
    {"all", BACKUP_ALL},
    {"basic", BACKUP_BASIC},
    {"mappings", BACKUP_MAPPINGS},
    {"shorttypes", BACKUP_SHORTTYPES},
};

}  // namespace

int RunBackup(int, char** argv) {
    int blocks = 0;
    for (const BackupKind& kind : kBackupKinds) {
        if (strcmp(kind.name, argv[0]) == 0) blocks = kind.blocks;
    }
    if (blocks == 0) {
        fprintf(stderr, "kelmorctl backup: unknown part '%s' (all, basic, mappings or shorttypes)\n",
                TerminalText(argv[0]).c_str());
        return 1;
    }
    if (strlen(argv[1]) >= MAX_PATH) {
        fprintf(stderr, "kelmorctl: file name too long (at most %d characters): %s\n", MAX_PATH - 1,
                TerminalText(argv[1]).c_str());
        return 1;
    }
    // Without a window, its place and tab are those the window would start with.
    gSettings.gnWindowLeft =
        static_cast<int32_t>(ReadSettingDword("Left", static_cast<uint32_t>(gSettings.gnWindowLeft)));
    gSettings.gnWindowTop = static_cast<int32_t>(ReadSettingDword("Top", static_cast<uint32_t>(gSettings.gnWindowTop)));
    gSettings.gnLastTab = static_cast<int32_t>(ReadSettingDword("LastTab", static_cast<uint32_t>(gSettings.gnLastTab)));
    return SaveSettingsBackup(argv[1], blocks) ? 0 : 1;
}
