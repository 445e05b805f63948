#include "platform/win32/windows_api.h"

#include <cstdio>
#include <cstring>

#include "platform/file.h"
#include "platform/win32/join_text.h"

namespace {

HANDLE H(SysFile f) { return reinterpret_cast<HANDLE>(f); }
SysFile F(HANDLE h) { return reinterpret_cast<SysFile>(h); }

bool FailWith(DWORD code) {
    SetLastError(code);
    return false;
}

bool WriteAll(HANDLE h, const void* buf, uint32_t n) {
    const char* p = static_cast<const char*>(buf);
    while (n > 0) {
        DWORD written = 0;
        if (!WriteFile(h, p, n, &written, nullptr)) return false;
        if (written == 0) return FailWith(ERROR_WRITE_FAULT);
        p += written;
        n -= written;
    }
    return true;
}

bool IsRegular(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

}  // namespace

uint32_t SysGetFileSize(const char* name) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (name == nullptr || name[0] == '\0') return FailWith(ERROR_FILE_NOT_FOUND), 0;
    if (!GetFileAttributesExA(name, GetFileExInfoStandard, &data)) return 0;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return 0;
    return data.nFileSizeHigh != 0 ? 0xFFFFFFFFu : data.nFileSizeLow;
}

SysFile SysOpenRead(const char* name) {
    // Others may read, write and delete meanwhile, as they may on other systems; only a
    // held file (SysHoldFile) keeps its name.
    return F(CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

int SysReadAt(SysFile f, uint32_t offset, void* buf, uint32_t n) {
    uint32_t got = 0;
    while (got < n) {
        OVERLAPPED at;
        memset(&at, 0, sizeof at);
        at.Offset = offset + got;
        DWORD read = 0;
        if (!ReadFile(H(f), static_cast<char*>(buf) + got, n - got, &read, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF) break;
            return -1;
        }
        if (read == 0) break;
        got += read;
    }
    return static_cast<int>(got);
}

bool SysWriteAtEnd(SysFile f, const void* buf, uint32_t n) {
    // A pipe or a console has no end to seek to: what is written goes behind the rest.
    if (GetFileType(H(f)) == FILE_TYPE_DISK) {
        LARGE_INTEGER none;
        none.QuadPart = 0;
        if (!SetFilePointerEx(H(f), none, nullptr, FILE_END)) return false;
    }
    return WriteAll(H(f), buf, n);
}

void SysClose(SysFile f) {
    if (f != SYS_NO_FILE) CloseHandle(H(f));
}

bool SysDeleteFile(const char* name) { return DeleteFileA(name) != 0; }

bool SysAppendFileContent(SysFile f, const char* from) {
    SysFile in = SysOpenRead(from);
    if (in == SYS_NO_FILE) return false;
    static char buf[65536];
    bool ok = true;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(H(in), buf, sizeof buf, &read, nullptr)) {
            ok = false;
            break;
        }
        if (read == 0 || !(ok = SysWriteAtEnd(f, buf, read))) break;
    }
    const DWORD error = GetLastError();
    CloseHandle(H(in));
    SetLastError(error);
    return ok;
}

bool SysAppendToFile(const char* name, const void* buf, uint32_t n) {
    if (name == nullptr || name[0] == '\0') return false;
    HANDLE h = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    // Appenders take turns on a lock far past any content, so that readers are never
    // kept out. An append-only handle alone is not enough: where the system finds the end
    // and then writes there (as Wine does), two appenders can find the same end.
    OVERLAPPED turn;
    memset(&turn, 0, sizeof turn);
    turn.OffsetHigh = 0x7FFFFFFF;
    const bool locked = LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &turn) != 0;
    LARGE_INTEGER none;
    none.QuadPart = 0;
    const bool ok = locked && SetFilePointerEx(h, none, nullptr, FILE_END) && WriteAll(h, buf, n);
    const DWORD error = GetLastError();
    if (locked) UnlockFileEx(h, 0, 1, 0, &turn);
    CloseHandle(h);
    SetLastError(error);
    return ok;
}

SysFile SysHoldFile(const char* name) {
    if (name == nullptr || name[0] == '\0') return FailWith(ERROR_FILE_NOT_FOUND), SYS_NO_FILE;
    const DWORD attributes = GetFileAttributesA(name);
    if (attributes != INVALID_FILE_ATTRIBUTES && !IsRegular(attributes)) return FailWith(ERROR_ACCESS_DENIED), SYS_NO_FILE;
    // Held by not sharing the right to delete: no process can delete or rename the file
    // while this handle is open.
    HANDLE h = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return SYS_NO_FILE;
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return FailWith(ERROR_ACCESS_DENIED), SYS_NO_FILE;
    }
    return F(h);
}

bool SysDeleteUnusedFile(const char* name) {
    if (name == nullptr || name[0] == '\0') return FailWith(ERROR_FILE_NOT_FOUND);
    const DWORD attributes = GetFileAttributesA(name);
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (!IsRegular(attributes)) return FailWith(ERROR_ACCESS_DENIED);
    // A held file cannot be deleted: the call fails with a sharing violation.
    return DeleteFileA(name) != 0;
}

bool SysCanCreateFilesIn(const char* folder) {
    const DWORD attributes = folder != nullptr ? GetFileAttributesA(folder) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES) return folder != nullptr ? false : FailWith(ERROR_PATH_NOT_FOUND);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return FailWith(ERROR_DIRECTORY);
    // Whether this user may make files there is the folder's access list's answer; making
    // one asks it.
    char probe[MAX_PATH];
    if (GetTempFileNameA(folder, "klm", 0, probe) == 0) return false;
    DeleteFileA(probe);
    return true;
}

namespace {

// A replacement being written: its handle, its temporary file and the file it replaces.
// A file written directly (a device) has no temporary file.
struct Replacement {
    bool inUse;
    HANDLE handle;
    bool direct;
    char temporary[MAX_PATH];
    char target[MAX_PATH];
};
// Writers replace one file at a time; a few slots leave room for nesting.
Replacement gReplacements[4];

Replacement* FindReplacement(SysFile f) {
    for (Replacement& r : gReplacements) {
        if (f == SYS_NO_FILE ? !r.inUse : r.inUse && F(r.handle) == f) return &r;
    }
    return nullptr;
}

// Creates ".NAME.kelmor-XXXXXX" beside target, exclusively, and writes its path to out.
HANDLE CreateBeside(const char* target, char* out) {
    const char* slash = strrchr(target, '\\');
    const char* other = strrchr(target, '/');
    if (other != nullptr && (slash == nullptr || other > slash)) slash = other;
    if (slash == nullptr && target[0] != '\0' && target[1] == ':') slash = target + 1;
    const int folder = slash != nullptr ? static_cast<int>(slash - target) + 1 : 0;
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        uint32_t seed = GetTickCount() * 2654435761u ^ GetCurrentProcessId() << 16 ^ ++counter * 40503u;
        char suffix[7];
        for (char& c : suffix) {
            c = kLetters[seed % (sizeof kLetters - 1)];
            seed /= sizeof kLetters - 1;
        }
        suffix[6] = '\0';
        const int n = JoinText(out, MAX_PATH, {{target, folder}, {"."}, {target + folder}, {".kelmor-"}, {suffix}});
        if (n < 0 || n >= MAX_PATH) return FailWith(ERROR_FILENAME_EXCED_RANGE), INVALID_HANDLE_VALUE;
        HANDLE h = CreateFileA(out, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return h;
    }
    return FailWith(ERROR_FILE_EXISTS), INVALID_HANDLE_VALUE;
}

void Forget(Replacement* r) {
    r->inUse = false;
    r->handle = INVALID_HANDLE_VALUE;
    r->temporary[0] = r->target[0] = '\0';
}

}  // namespace

// The permission bits of the other systems have no counterpart here: the new file takes
// the access list of its folder, as any new file does, so modeFrom is not needed.
SysFile SysBeginReplacement(const char* target, const char*) {
    Replacement* r = FindReplacement(SYS_NO_FILE);
    if (r == nullptr) return FailWith(ERROR_TOO_MANY_OPEN_FILES), SYS_NO_FILE;
    if (target == nullptr || target[0] == '\0') return FailWith(ERROR_FILE_NOT_FOUND), SYS_NO_FILE;
    if (strlen(target) >= sizeof r->target) return FailWith(ERROR_FILENAME_EXCED_RANGE), SYS_NO_FILE;
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return FailWith(ERROR_ACCESS_DENIED), SYS_NO_FILE;
    }
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DEVICE) != 0) {
        // A device (NUL, CON, a pipe) holds nothing to keep: it is written directly.
        HANDLE h = CreateFileA(target, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_DISK) {
            r->handle = h;
            r->inUse = true;
            r->direct = true;
            return F(h);
        }
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    strcpy(r->target, target);
    HANDLE h = CreateBeside(r->target, r->temporary);
    if (h == INVALID_HANDLE_VALUE) return SYS_NO_FILE;
    r->handle = h;
    r->inUse = true;
    r->direct = false;
    return F(h);
}

bool SysCommitReplacement(SysFile f) {
    Replacement* r = f == SYS_NO_FILE ? nullptr : FindReplacement(f);
    if (r == nullptr) return FailWith(ERROR_INVALID_HANDLE);
    bool ok = r->direct || FlushFileBuffers(r->handle);
    DWORD error = GetLastError();
    if (!CloseHandle(r->handle) && ok) {
        error = GetLastError();
        ok = false;
    }
    if (!r->direct) {
        if (ok && !MoveFileExA(r->temporary, r->target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            error = GetLastError();
            ok = false;
        }
        if (!ok) DeleteFileA(r->temporary);
    }
    Forget(r);
    if (!ok) SetLastError(error);
    return ok;
}

void SysDiscardReplacement(SysFile f) {
    Replacement* r = f == SYS_NO_FILE ? nullptr : FindReplacement(f);
    if (r == nullptr) return;
    const DWORD error = GetLastError();
    CloseHandle(r->handle);
    if (!r->direct) DeleteFileA(r->temporary);
    SetLastError(error);
    Forget(r);
}

SysFileKind SysGetFileKind(const char* name) {
    const DWORD attributes = name != nullptr ? GetFileAttributesA(name) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES) return SYS_FILE_MISSING;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return SYS_FILE_FOLDER;
    return (attributes & FILE_ATTRIBUTE_DEVICE) != 0 ? SYS_FILE_OTHER : SYS_FILE_REGULAR;
}

namespace {

bool IdentityOf(const char* name, BY_HANDLE_FILE_INFORMATION* info) {
    if (name == nullptr) return false;
    HANDLE h = CreateFileA(name, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(h, info) != 0;
    CloseHandle(h);
    return ok;
}

}  // namespace

bool SysIsSameFile(const char* a, const char* b) {
    BY_HANDLE_FILE_INFORMATION ia, ib;
    return IdentityOf(a, &ia) && IdentityOf(b, &ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}
