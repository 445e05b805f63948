// The face's message boxes, file dialogs and clipboard: the system's own, owned by the
// main window.
#include <cstring>

#include "platform/win32/message_box.h"
#include "platform/win32gui/dialogs.h"

#include <commdlg.h>

namespace {

int MessageBoxOfFace(const char* text, const char* caption, uint32_t style, int iconId) {
    return WinMessageBox(WinDialogOwner(), text, caption, style, iconId);
}

// The filter list is already the system's: description and pattern pairs, each ended by a
// NUL, the list by another. No default extension is given: the program itself adds the
// chosen filter's extension to a name without one, and tells a name whose extension
// contradicts the filter.
bool FileDialog(bool save, char* name, int nameSize, const char* filters, int filterIndex, int* chosenFilter) {
    if (name == nullptr || nameSize <= 0 || memchr(name, '\0', static_cast<size_t>(nameSize)) == nullptr) return false;
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = WinDialogOwner();
    dialog.lpstrFilter = filters;
    dialog.nFilterIndex = static_cast<DWORD>(filterIndex > 0 ? filterIndex : 1);
    dialog.lpstrFile = name;
    dialog.nMaxFile = static_cast<DWORD>(nameSize);
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | (save ? 0 : OFN_FILEMUSTEXIST);
    // A name that does not fit the buffer is refused by the system, not cut: a shorter one
    // would be another file.
    if (!(save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog))) return false;
    if (chosenFilter != nullptr) *chosenFilter = static_cast<int>(dialog.nFilterIndex);
    return true;
}

bool SetClipboardText(const char* text) {
    if (text == nullptr || !OpenClipboard(WinDialogOwner())) return false;
    const size_t size = strlen(text) + 1;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    bool set = false;
    if (copy != nullptr) {
        memcpy(GlobalLock(copy), text, size);
        GlobalUnlock(copy);
        set = EmptyClipboard() && SetClipboardData(CF_TEXT, copy) != nullptr;
        if (!set) GlobalFree(copy);
    }
    CloseClipboard();
    return set;
}

// The text was handed to the system whole, which keeps it after the program ends.
void LetGoOfClipboard() {}

}  // namespace

void Win32FillBoxFace(KelmorFace* face) {
    face->messageBox = MessageBoxOfFace;
    face->fileDialog = FileDialog;
    face->setClipboardText = SetClipboardText;
    face->letGoOfClipboard = LetGoOfClipboard;
}
