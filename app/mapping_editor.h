// The Keyboard tab's Mapping editor: a key combination captured in the Keys field, an
// action, for three actions a text; the checks before a Mapping is stored, and the list of
// the stored ones. Acts on the pane dialog (ID_PANES) through the dialog seam.
#pragma once

// Fills the Action and Keys lists; clears the capture state.
void MappingEditorInit();
// The editor's share of the pane procedure; false when the control is not the editor's.
bool MappingEditorCommand(int control, int notification);

// Empties a drop-down list and gives it its empty first entry.
void ResetEditorList(int control);
// Turns every line end of the text into a space.
void FlattenLines(char* text);
