// Message boxes of a Windows program without the face (the probes): the system's own.
// Kelmor.exe shows its boxes through the face, owned by its window once that is open.
#include "platform/message_box.h"
#include "platform/win32/message_box.h"

int ShellMessageBox(const char* text, const char* caption, uint32_t style) {
    return WinMessageBox(nullptr, text, caption, style, 0);
}

int ShellIconMessageBox(const char* text, const char* caption, uint32_t style, int iconId) {
    return WinMessageBox(nullptr, text, caption, style, iconId);
}
