// The ShortType tab's editor: an abbreviation of lower-case letters, digits and spaces,
// the text that replaces it, the checks before it is stored, and the list of the stored
// ShortTypes. Acts on the pane dialog (ID_PANES) through the dialog seam.
#pragma once

// Fills the ShortType list.
void ShortTypeEditorInit();
// The editor's share of the pane procedure; false when the control is not the editor's.
bool ShortTypeEditorCommand(int control, int notification);
