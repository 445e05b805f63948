// The Backup Kelmor Settings commands of the Tools menu: the settings written as a
// registry script that restores them later.
#pragma once

// Command handler: 1142 (All), 1146 (Basic), 1143 (Mappings), 1144 (ShortTypes).
void OnBackupSettings(int id);

// Writes the blocks (settings/settings_backup.h) as the file name, in place of any file
// of that name only once the whole new content is written. Shows why and returns false
// when it could not.
bool SaveSettingsBackup(const char* name, int blocks);
