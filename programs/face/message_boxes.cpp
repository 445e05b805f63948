// Message boxes of the kelmor program: dialogs of the face module, loaded with the first
// box, since most playbacks never show one. Where the module cannot be loaded or there is
// no display, the box is the face loader's own (one line on standard error on Linux) and
// takes its default button. File dialogs belong to the window: a hidden playback takes its
// names from its arguments.
#include "platform/message_box.h"
#include "programs/face/face.h"

namespace {

int ShowBox(const char* text, const char* caption, uint32_t style, int iconId) {
    const KelmorFace* face = LoadFace();
    const int answer = face != nullptr ? face->messageBox(text, caption, style, iconId) : 0;
    return answer != 0 ? answer : BoxWithoutFace(text, caption, style);
}

}  // namespace

int ShellMessageBox(const char* text, const char* caption, uint32_t style) {
    return ShowBox(text, caption, style, 0);
}

int ShellIconMessageBox(const char* text, const char* caption, uint32_t style, int iconId) {
    return ShowBox(text, caption, style, iconId);
}

bool ShellFileDialog(bool save, char* name, int nameSize, const char* filters, int filterIndex, int* chosenFilter) {
    const KelmorFace* face = WindowFace();
    return face != nullptr && face->fileDialog(save, name, nameSize, filters, filterIndex, chosenFilter);
}
