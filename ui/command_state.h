// The three command states of menus and toolbar, the rules applied when a menu opens and
// the grey rules of the tray menu: every enabling of a command is decided here.
#pragma once

enum CommandState { CMD_STATE_EMPTY = 0, CMD_STATE_IDLE = 1, CMD_STATE_BUSY = 2 };

struct MenuEntry;

void SetCommandState(int state);
// When a menu of the menu bar opens: Edit Script File needs a current file with content,
// View Log File a log with content.
void ApplyMenuOpeningRules(bool currentFileHasContent, bool logHasContent);
// Whether a tray menu entry is shown, and whether it is enabled, at the moment the menu opens.
bool TrayEntryShown(const MenuEntry& entry, bool serviceOn);
bool TrayEntryEnabled(const MenuEntry& entry, bool hookInstalled, bool recordingHasEvents);
