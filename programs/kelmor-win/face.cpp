// Kelmor.exe's face is linked in (platform/win32gui): it is there from the start, and
// every table field with it.
#include "platform/win32gui/win32gui.h"
#include "programs/face/face.h"
#include "platform/wintypes.h"
#include "ui/platform_wording.h"

const KelmorFace* LoadFace() {
    static const KelmorFace* face = nullptr;
    if (face == nullptr) {
        face = Win32Face();
        face->setWording(PlatformText);
    }
    return face;
}

bool OpenMainWindow(void (*onCommand)(int id), bool (*onClose)()) {
    return OpenMainWindowOn(LoadFace(), onCommand, onClose);
}

// A program without a console has nowhere else to say it: the box's default answer.
int BoxWithoutFace(const char*, const char*, uint32_t style) { return MessageBoxDefaultAnswer(style); }
