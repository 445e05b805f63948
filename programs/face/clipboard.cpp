// The kelmor program's clipboard text is put there by the face module, whose loop hands it
// to other programs (and to a clipboard manager that keeps it past the program's end).
#include "platform/clipboard.h"
#include "programs/face/face.h"

bool SysSetClipboardText(const char* text) {
    const KelmorFace* face = WindowFace();
    return FACE_HAS(face, setClipboardText) && text != nullptr && face->setClipboardText(text);
}

void SysLetGoOfClipboard() {
    const KelmorFace* face = WindowFace();
    if (FACE_HAS(face, letGoOfClipboard)) face->letGoOfClipboard();
}
