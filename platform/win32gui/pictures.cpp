// The pictures of the Windows face are the program's resources (pictures.rc), drawn by the
// Linux face's own code (scripts/win32-pictures) so that both show the same. The bitmaps
// stand on the grey that the system turns into the desktop's button face as it loads them.
#include "platform/picture_ids.h"
#include "platform/win32gui/win32gui.h"

namespace {

const int kToolbarStrip = 1100;
const int kToolbarImageSize = 16;

HANDLE LoadResource(int id, UINT type, int size, UINT how) {
    return LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), type, size, size, how);
}

}  // namespace

HBITMAP Win32LoadPicture(int bitmapId) {
    return static_cast<HBITMAP>(LoadResource(bitmapId, IMAGE_BITMAP, 0, LR_CREATEDIBSECTION | LR_LOADMAP3DCOLORS));
}

HBITMAP Win32ToolbarStrip(int* imageCount) {
    HBITMAP strip = Win32LoadPicture(kToolbarStrip);
    BITMAP size = {};
    const bool measured = strip != nullptr && GetObjectA(strip, sizeof size, &size) != 0;
    if (imageCount != nullptr) *imageCount = measured ? size.bmWidth / kToolbarImageSize : 0;
    return strip;
}

// The tray's notice shows the program's own icon, as on Linux.
HICON Win32LoadIcon(int iconId) {
    return static_cast<HICON>(
        LoadResource(iconId == IDI_TRAY_MESSAGE ? IDI_KELMOR : iconId, IMAGE_ICON, 0, LR_DEFAULTSIZE | LR_SHARED));
}

HICON Win32TrayIcon(int code) {
    return static_cast<HICON>(LoadResource(code, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), LR_SHARED));
}
