// The window's own options, kept in step wherever they are switched: Always on Top (View
// menu, Options box, User Command choice), Show Tab Interface (View menu) and Auto-Start
// (Tools menu, Options box).
#pragma once

// Command handlers: 1170 (Always on Top), 1731 (the User Command choice that flips the
// Options box), 1084 (Show Tab Interface), 1132 (Auto-Start).
void OnAlwaysOnTop(int id);
void OnToggleTopmostChoice(int id);
void OnShowTabs(int id);
void OnAutoStart(int id);

// Topmost on or off: setting, menu check, Options box, message-box base style, window.
void SetAlwaysOnTop(bool on);
// Shows the panes or folds the window to its menu and toolbar, as ShowTabs says.
void FitMainWindow();
// Writes the running program's path as the Run value (on) or deletes it (off), then sets
// menu check and Options box to what the value now is.
void SetAutoStart(bool on);
// The Run value names the running program itself (its file, by whatever path).
bool AutoStartIsOn();
// The check marks of Show Tab Interface, Always on Top and Auto-Start as the settings
// and the Run value say.
void CheckWindowOptionItems();
