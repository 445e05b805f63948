// Restoring a REGEDIT4 backup of the settings into the store: the basic values, the
// Mappings and the ShortTypes, as the backup commands write them or as the system's
// registry editor exports the same keys.
//
// The whole file is read before anything is written, and what it holds is written as one
// set of changes: a line that cannot be read refuses the file, and a write that fails
// takes the rest back, leaving the store as it was. A file in UTF-16 with its byte-order
// mark, as the registry editor exports, is read as such. Keys and values the program does not use, key
// and value deletions and default values are skipped, each with one note. What the file
// names is merged into the store as an import does: nothing else is removed.
#pragma once
#include <cstdint>

enum {
    // A full backup of 255 Mappings and 64 ShortTypes is well below this.
    RESTORE_MAX_FILE_SIZE = 1 << 20,
    // One line, continuation lines joined: far more than a text of 255 characters in either
    // form needs, so that another program's larger value in an exported key is only skipped.
    RESTORE_MAX_LINE = 65536,
};

struct RestoreOutcome {
    int errorLine;     // the line that refused the file, 0 when none did
    char error[160];   // why the file was refused or the store could not take it; empty on success
    int written;       // values written into the store (none when it failed)
    int skipped;       // notes given
};

// Receives each note about a skipped line ("line 7: ...").
typedef void (*RestoreNoteProc)(const char* note);

// Restores the text of a backup file (size bytes, any content); true when all it holds
// that the program uses is in the store, false when nothing of it is.
bool RestoreSettingsText(const char* text, uint32_t size, RestoreNoteProc note, RestoreOutcome* outcome);
// The same for the named file (a regular file of at most RESTORE_MAX_FILE_SIZE bytes).
bool RestoreSettingsFile(const char* name, RestoreNoteProc note, RestoreOutcome* outcome);
