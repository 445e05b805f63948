// Seam: message boxes and the file dialogs.
#pragma once
#include <cstdint>

// Shows a message box with no owner window; returns the ID* answer.
int ShellMessageBox(const char* text, const char* caption, uint32_t style);
// The same with one of the program's own icons in place of a system icon.
int ShellIconMessageBox(const char* text, const char* caption, uint32_t style, int iconId);
// Runs the open or save file dialog. name (nameSize bytes) is the initial and the
// chosen name; filters is a list of description and pattern pairs, each ending in a
// NUL, the list ended by an extra NUL; filterIndex is 1-based. Returns true when a
// name was chosen and then sets *chosenFilter to the 1-based filter selected.
bool ShellFileDialog(bool save, char* name, int nameSize, const char* filters, int filterIndex,
                     int* chosenFilter);
// A pattern that stands for the files that may be run, where programs carry no
// extension that a pattern could name.
#define FILE_PATTERN_EXECUTABLE "<executable>"
