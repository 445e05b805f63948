// The system's message box, shared by the hidden run's boxes and the face's.
#include "platform/win32/message_box.h"

#include "platform/picture_ids.h"

int WinMessageBox(HWND owner, const char* text, const char* caption, uint32_t style, int iconId) {
    MSGBOXPARAMSA box = {};
    box.cbSize = sizeof box;
    box.hwndOwner = owner;
    box.hInstance = GetModuleHandleA(nullptr);
    box.lpszText = text;
    box.lpszCaption = caption;
    // With no window of its own in front, the box comes forward by itself.
    box.dwStyle = style | (owner == nullptr ? MB_SETFOREGROUND : 0);
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
