// The window's remaining commands and its own upkeep: View Log File, the User Command
// button, the rules applied when a menu opens, the service timer, and the window's
// set-up before it first shows.
#pragma once

// Command handlers: 1112 (View Log File), 1729 (User Command).
void OnViewLogFile(int id);
void OnUserCommand(int id);

// A menu of the menu bar is opening: Edit Script File and View Log File follow the
// sizes of the current file and of the log.
void OnMenuOpening();

// The window's set-up once it exists, in the interactive run mode: the recent files in
// the File menu, the empty command state, the check marks, the question about an
// active log, and SERVICE_TIMER.
void SetUpMainWindow();
// Once the window shows: reopens the last saved file when Reload is on (which may play
// it at once when PlayImmediately is on).
void ReloadLastFile();
