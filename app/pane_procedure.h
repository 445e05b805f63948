// The main panes' procedure: the Playback tab writes the playback settings the moment a
// control changes, the Options tab the start-up options; the tab strip remembers the tab.
#pragma once
#include <cstdint>

// The procedure of the pane dialog (ID_PANES) for DialogCreate.
void PaneProcedure(int dialog, int message, int control, int notification);
// Command handler 1040: the panes made again when they are missing, and shown.
void OnShowPanes(int id);

// Makes the pane dialog's controls the ones the rest of the program sets (the status
// line, Load Normal Play Settings, a playback's focus; speed 1-4, anything else checks
// Normal).
void ShowPanesInMainWindow();
// The message loop's tab keys: Ctrl+Page Down selects the next tab of the panes and
// Ctrl+Page Up the previous one, round the ends, unless a journal hook is installed. True
// when the key was taken (the window then drops it).
bool OnPaneTabKey(int virtualKey, bool ctrl);
