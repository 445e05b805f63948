// The pictures of the Windows face are the program's resources, drawn by the Linux
// face's own code (scripts/win32-pictures) so that both show the same: bitmaps on the
// button face's grey, which the system turns into the face colour of the desktop's scheme.
#include "platform/picture_ids.h"
#include "platform/win32gui/win32gui.h"

namespace {

// The resource ids of the pictures that have no id of platform/picture_ids.h.
const int kToolbarStrip = 1100;
const int kTrayIconBase = 1200;  // plus a tray code's offset from IDI_KELMOR

HBITMAP LoadBitmapResource(int id, UINT how) {
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                                           LR_CREATEDIBSECTION | how));
}

}  // namespace

HBITMAP Win32LoadPicture(int bitmapId) { return LoadBitmapResource(bitmapId, LR_LOADMAP3DCOLORS); }

HBITMAP Win32ToolbarStrip(int* imageCount) {
    HBITMAP strip = LoadBitmapResource(kToolbarStrip, LR_LOADMAP3DCOLORS);
    BITMAP size = {};
    if (imageCount != nullptr) *imageCount = strip != nullptr && GetObjectA(strip, sizeof size, &size) ? size.bmWidth / 16 : 0;
    return strip;
}

HICON Win32LoadIcon(int iconId) {
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId), IMAGE_ICON, 0, 0,
                                         LR_DEFAULTSIZE | LR_SHARED));
}

HICON Win32TrayIcon(int code) {
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kTrayIconBase + code - IDI_KELMOR),
                                         IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                         LR_SHARED));
}
