#include "programs/face/face.h"

#include <glib.h>

#include <cstddef>
#include <cstdio>

#include "platform/console/print_box.h"
#include "platform/module.h"
#include "platform/x11/display.h"
#include "ui/platform_wording.h"

namespace {

const KelmorFace* gFace = nullptr;
bool gFaceTried = false;
// The module's entry as the load left it, and why it failed: written by the loading
// thread, read once it has been joined.
KelmorFaceEntryFunction gEntry = nullptr;
char gWhy[512] = "";
GThread* gLoader = nullptr;

gpointer LoadModule(gpointer) {
    gEntry = reinterpret_cast<KelmorFaceEntryFunction>(
        ModuleLoadEntry(KELMOR_FACE_MODULE, KELMOR_FACE_ENTRY, gWhy, sizeof gWhy));
    return nullptr;
}

}  // namespace

void StartLoadingFace() {
    if (gFaceTried || gLoader != nullptr) return;
    // Without a thread the module is loaded when it is first needed, as before.
    gLoader = g_thread_try_new("kelmor-face", LoadModule, nullptr, nullptr);
}

bool FinishLoadingFace() {
    if (gLoader == nullptr) return false;
    g_thread_join(gLoader);
    gLoader = nullptr;
    return true;
}

const KelmorFace* LoadFace() {
    if (gFaceTried) return gFace;
    gFaceTried = true;
    if (!FinishLoadingFace()) LoadModule(nullptr);
    const char* why = gWhy;
    const KelmorFaceEntryFunction entry = gEntry;
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
