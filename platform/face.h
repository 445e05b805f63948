// The program's face: its dialogs (and, later, its window) live in a module of their own
// (libkelmor-gtk.so on X11) that only the interactive run mode and a message box load,
// so that playing from the command line never loads the toolkit. The module exports one
// C function, KelmorFaceEntry, that returns this table.
//
// Fields are only ever added at the end: size tells the program which ones a module
// has. version changes when an existing field's meaning does, and a program refuses a
// module of another version (a stale module left beside a newer program).
#pragma once
#include <cstddef>
#include <cstdint>

#define KELMOR_FACE_VERSION 1u
#define KELMOR_FACE_ENTRY "KelmorFaceEntry"

struct KelmorFace {
    uint32_t size;
    uint32_t version;
    // Shows a message box (MB_* style; iconId for MB_USERICON) and returns the ID* answer
    // of the button pressed; 0 when no box can be shown (no display).
    int (*messageBox)(const char* text, const char* caption, uint32_t style, int iconId);
};

// True when the module's table has the field ending at fieldEnd and speaks this version.
inline bool FaceHas(const KelmorFace* face, size_t fieldEnd) {
    return face != nullptr && face->version == KELMOR_FACE_VERSION && face->size >= fieldEnd;
}

using KelmorFaceEntryFunction = const KelmorFace* (*)();
