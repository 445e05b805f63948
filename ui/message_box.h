// Message boxes as the program shows them: no owner window, the base style of the
// settings plus the box's own buttons and icon.
#pragma once
#include <cstdint>

int KelmorMessageBox(const char* text, const char* caption, uint32_t flags);
// The text of every command that needs a recording and finds none.
extern const char kNoActionsText[];
// Formats the text first (program formatter, at most 1023 characters).
int KelmorMessageBoxF(const char* caption, uint32_t flags, const char* format, ...);
// The icon message box: a message box with one of the program's icons (iconId) and
// the given style in place of the base style.
int ShowIconMessage(const char* text, const char* caption, uint32_t style, int iconId);
