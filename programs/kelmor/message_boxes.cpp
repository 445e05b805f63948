// Message boxes of the kelmor program: dialogs of the face module, loaded with the first
// box, since most playbacks never show one. Where the module cannot be loaded or there is
// no display, the box is one line on standard error and takes its default button.
#include <cstddef>
#include <cstdio>

#include "platform/console/print_box.h"
#include "platform/face.h"
#include "platform/module.h"
#include "platform/message_box.h"

namespace {

const KelmorFace* gFace = nullptr;
bool gFaceTried = false;

const KelmorFace* Face() {
    if (gFaceTried) return gFace;
    gFaceTried = true;
    char why[512] = "";
    auto entry = reinterpret_cast<KelmorFaceEntryFunction>(
        ModuleLoadEntry(KELMOR_FACE_MODULE, KELMOR_FACE_ENTRY, why, sizeof why));
    const KelmorFace* face = entry != nullptr ? entry() : nullptr;
    if (FaceHas(face, offsetof(KelmorFace, messageBox) + sizeof face->messageBox)) {
        gFace = face;
    } else if (entry == nullptr) {
        fprintf(stderr, "kelmor: cannot show dialogs: %s\n", TerminalText(why).c_str());
    } else {
        fprintf(stderr, "kelmor: cannot show dialogs: %s is of another version\n", KELMOR_FACE_MODULE);
    }
    return gFace;
}

int ShowBox(const char* text, const char* caption, uint32_t style, int iconId) {
    const KelmorFace* face = Face();
    const int answer = face != nullptr ? face->messageBox(text, caption, style, iconId) : 0;
    return answer != 0 ? answer : ConsolePrintBox(text, caption, style);
}

}  // namespace

int ShellMessageBox(const char* text, const char* caption, uint32_t style) {
    return ShowBox(text, caption, style, 0);
}

int ShellIconMessageBox(const char* text, const char* caption, uint32_t style, int iconId) {
    return ShowBox(text, caption, style, iconId);
}
