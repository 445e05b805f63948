// Message boxes of Kelmor.exe: the system's own.
#include "platform/win32/windows_api.h"

#include "platform/message_box.h"

int ShellMessageBox(const char* text, const char* caption, uint32_t style) {
    // With no window of its own in front, the box comes forward by itself.
    return MessageBoxA(nullptr, text, caption, style | MB_SETFOREGROUND);
}

int ShellIconMessageBox(const char* text, const char* caption, uint32_t style, int) {
    // The program's own icons are resources of the window, which is not built yet.
    return ShellMessageBox(text, caption, style & ~static_cast<uint32_t>(MB_USERICON));
}
