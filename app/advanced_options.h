// The Advanced Options dialog's procedure: the settings that have no place on the main
// panes. Some choices act at once (Quit when done, Playback Update, erasing the log);
// everything else waits for Apply or OK.
#pragma once

// Command handler: 1118, also the Options pane's "Advanced Options..." button.
void OnAdvancedOptions(int id);
// The page the open dialog shows (OptionsTab), or -1 while it is not open: F1 asks for
// that page's help.
int CurrentOptionsTab();

// The procedure of the dialog (ID_ADVANCED_OPTIONS_DIALOG) for DialogRun.
void AdvancedOptionsProcedure(int dialog, int message, int control, int notification);
