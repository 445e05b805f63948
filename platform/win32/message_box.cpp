// Message boxes of Kelmor.exe: the system's own.
#include "platform/win32/message_box.h"

#include "platform/message_box.h"
#include "platform/picture_ids.h"

int WinMessageBox(HWND owner, const char* text, const char* caption, uint32_t style, int iconId) {
    MSGBOXPARAMSA box = {};
    box.cbSize = sizeof box;
    box.hwndOwner = owner;
    box.hInstance = GetModuleHandleA(nullptr);
    box.lpszText = text;
    box.lpszCaption = caption;
    box.dwStyle = style;
    // A program built without its pictures shows the box without an icon.
    if ((style & MB_USERICON) != 0) {
        // The tray's notice shows the program's own icon, as on Linux.
        box.lpszIcon = MAKEINTRESOURCEA(iconId == IDI_TRAY_MESSAGE ? IDI_KELMOR : iconId);
        if (FindResourceA(box.hInstance, box.lpszIcon, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */) == nullptr) {
            box.dwStyle &= ~static_cast<uint32_t>(MB_USERICON);
        }
    }
    return MessageBoxIndirectA(&box);
}

int ShellMessageBox(const char* text, const char* caption, uint32_t style) {
    // With no window of its own in front, the box comes forward by itself.
    return WinMessageBox(nullptr, text, caption, style | MB_SETFOREGROUND, 0);
}

int ShellIconMessageBox(const char* text, const char* caption, uint32_t style, int iconId) {
    return WinMessageBox(nullptr, text, caption, style | MB_SETFOREGROUND, iconId);
}
