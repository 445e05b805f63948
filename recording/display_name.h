#pragma once

// The file name part of a path, or "(Untitled)" for an empty one.
const char* GetDisplayName(const char* path);

// Titles the main window "Kelmor - <display name of the current file>".
void ShowCurrentFileTitle();
