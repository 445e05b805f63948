// The settings as a REGEDIT4 registry script: the text the backup commands write, which
// the system's registry editor (or kelmorctl restore) imports into the same keys.
#pragma once
#include <cstdint>

// The blocks of a backup; Backup All writes the three.
enum {
    BACKUP_BASIC = 1,
    BACKUP_MAPPINGS = 2,
    BACKUP_SHORTTYPES = 4,
    BACKUP_ALL = BACKUP_BASIC | BACKUP_MAPPINGS | BACKUP_SHORTTYPES,
};

// Most ShortTypes a backup holds: as many as the keyboard service can keep.
enum { BACKUP_SHORTTYPE_MAX = 64 };

// Writes "REGEDIT4" and the chosen blocks at the end of file (platform/file.h). The basic
// block takes the settings in memory (Left, Top and LastTab from gSettings as the
// caller set them) and the few read where they are used from the store; Mappings and
// ShortTypes come from the store. False when a write failed; the last error is then that
// write's.
bool WriteSettingsBackup(intptr_t file, int blocks);
