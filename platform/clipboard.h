// Seam: the desktop's clipboard.
#pragma once

// Copies the clipboard's text into out, cut to size - 1 characters and terminated. False,
// with out untouched, when the clipboard holds no text or cannot be read.
bool SysGetClipboardText(char* out, int size);
