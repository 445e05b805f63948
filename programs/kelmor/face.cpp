#include "programs/face/face.h"

#include <cstddef>
#include <cstdio>

#include "platform/console/print_box.h"
#include "platform/module.h"
#include "platform/x11/display.h"
#include "ui/platform_wording.h"

namespace {

const KelmorFace* gFace = nullptr;
bool gFaceTried = false;

}  // namespace

const KelmorFace* LoadFace() {
    if (gFaceTried) return gFace;
    gFaceTried = true;
    char why[512] = "";
    auto entry = reinterpret_cast<KelmorFaceEntryFunction>(
        ModuleLoadEntry(KELMOR_FACE_MODULE, KELMOR_FACE_ENTRY, why, sizeof why));
    const KelmorFace* face = entry != nullptr ? entry() : nullptr;
    if (FACE_HAS(face, messageBox)) {
        gFace = face;
        if (FACE_HAS(face, setWording)) face->setWording(PlatformText);
    } else if (entry == nullptr) {
        fprintf(stderr, "kelmor: cannot show dialogs: %s\n", TerminalText(why).c_str());
    } else {
        fprintf(stderr, "kelmor: cannot show dialogs: %s is of another version\n", KELMOR_FACE_MODULE);
    }
    return gFace;
}

int BoxWithoutFace(const char* text, const char* caption, uint32_t style) {
    return ConsolePrintBox(text, caption, style);
}

bool OpenMainWindow(void (*onCommand)(int id), bool (*onClose)()) {
    const KelmorFace* face = LoadFace();
    if (face == nullptr) return false;
    if (!FACE_HAS(face, moveMainWindow)) {
        fprintf(stderr, "kelmor: cannot open the window: %s has no window\n", KELMOR_FACE_MODULE);
        return false;
    }
    if (!OpenMainWindowOn(face, onCommand, onClose)) {
        fputs("kelmor: cannot open the window: no display\n", stderr);
        return false;
    }
    if (FACE_HAS(face, setDisplayLostHandler)) X11OutliveLostDisplay();
    return true;
}
