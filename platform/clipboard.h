// Seam: the desktop's clipboard.
#pragma once

// Copies the clipboard's text into out, cut to size - 1 characters and terminated. False,
// with out untouched, when the clipboard holds no text or cannot be read.
bool SysGetClipboardText(char* out, int size);
// Puts the text on the clipboard; it stays there after the program ends where the
// desktop keeps clipboards. False, silently, when it cannot be put there.
bool SysSetClipboardText(const char* text);
// Called as the program ends: hands what it put on the clipboard to whatever keeps the
// desktop's clipboard, so that nothing waits on a program that is gone.
void SysLetGoOfClipboard();
