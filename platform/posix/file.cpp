#include "platform/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <limits.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/posix/last_error.h"

namespace {

SysFile Fail() {
    PosixSetLastErrorFromErrno();
    return SYS_NO_FILE;
}

bool FailWith(int code) {
    errno = code;
    PosixSetLastErrorFromErrno();
    return false;
}

// Opens name for a lock when it is itself a regular file; a device is never opened, since
// opening one can act on it.
int OpenRegularFile(const char* name, int flags, struct stat* st) {
    struct stat link;
    if (name == nullptr || name[0] == '\0' || (lstat(name, &link) == 0 && !S_ISREG(link.st_mode))) {
        errno = name == nullptr || name[0] == '\0' ? ENOENT : EPERM;
        return -1;
    }
    int fd = open(name, flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
    if (fstat(fd, st) != 0 || !S_ISREG(st->st_mode)) {
        close(fd);
        errno = EPERM;
        return -1;
    }
    return fd;
}

// True while name still is the file open as st.
bool StillNamed(const char* name, const struct stat& st) {
    struct stat now;
    return stat(name, &now) == 0 && now.st_dev == st.st_dev && now.st_ino == st.st_ino;
}

bool WriteAll(int fd, const void* buf, uint32_t n) {
    const char* p = static_cast<const char*>(buf);
    while (n > 0) {
        ssize_t w = write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            PosixSetLastErrorFromErrno();
            return false;
        }
        p += w;
        n -= static_cast<uint32_t>(w);
    }
    return true;
}

}  // namespace

uint32_t SysGetFileSize(const char* name) {
    struct stat st;
    if (name == nullptr || name[0] == '\0' || stat(name, &st) != 0) {
        PosixSetLastErrorFromErrno();
        return 0;
    }
    if (!S_ISREG(st.st_mode)) return 0;
    return st.st_size > 0xFFFFFFFFLL ? 0xFFFFFFFFu : static_cast<uint32_t>(st.st_size);
}

SysFile SysOpenRead(const char* name) {
    int fd = open(name, O_RDONLY | O_CLOEXEC);
    return fd < 0 ? Fail() : fd;
}

int SysReadAt(SysFile f, uint32_t offset, void* buf, uint32_t n) {
    uint32_t got = 0;
    while (got < n) {
        ssize_t r = pread(static_cast<int>(f), static_cast<char*>(buf) + got, n - got, static_cast<off_t>(offset) + got);
        if (r < 0) {
            if (errno == EINTR) continue;
            PosixSetLastErrorFromErrno();
            return -1;
        }
        if (r == 0) break;
        got += static_cast<uint32_t>(r);
    }
    return static_cast<int>(got);
}

bool SysWriteAtEnd(SysFile f, const void* buf, uint32_t n) {
    // A pipe or a terminal has no end to seek to: what is written goes behind the rest.
    if (lseek(static_cast<int>(f), 0, SEEK_END) < 0 && errno != ESPIPE) {
        PosixSetLastErrorFromErrno();
        return false;
    }
    return WriteAll(static_cast<int>(f), buf, n);
}

void SysClose(SysFile f) {
    if (f != SYS_NO_FILE) close(static_cast<int>(f));
}

bool SysDeleteFile(const char* name) {
    if (unlink(name) != 0) {
        PosixSetLastErrorFromErrno();
        return false;
    }
    return true;
}

bool SysAppendFileContent(SysFile f, const char* from) {
    int in = open(from, O_RDONLY | O_CLOEXEC);
    if (in < 0) return Fail(), false;
    char buf[65536];
    bool ok = true;
    for (;;) {
        ssize_t r = read(in, buf, sizeof buf);
        if (r < 0) {
            if (errno == EINTR) continue;
            PosixSetLastErrorFromErrno();
            ok = false;
            break;
        }
        if (r == 0 || !(ok = SysWriteAtEnd(f, buf, static_cast<uint32_t>(r)))) break;
    }
    close(in);
    return ok;
}

bool SysAppendToFile(const char* name, const void* buf, uint32_t n) {
    if (name == nullptr || name[0] == '\0') return false;
    // Only ever a regular file: opening a pipe for writing waits for a reader, for ever
    // when there is none, and opening a device can act on it. The open itself does not
    // wait either, should a pipe take the name in between.
    struct stat st;
    if (stat(name, &st) == 0 && !S_ISREG(st.st_mode)) return FailWith(EPERM);
    int fd = open(name, O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0) return Fail(), false;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return FailWith(EPERM);
    }
    bool ok = WriteAll(fd, buf, n);
    close(fd);
    return ok;
}

SysFile SysHoldFile(const char* name) {
    // A file deleted or replaced between the open and the lock is not the one to hold.
    for (int attempt = 0; attempt < 8; ++attempt) {
        struct stat st;
        int fd = OpenRegularFile(name, O_RDONLY | O_CREAT, &st);
        if (fd < 0) return Fail();
        while (flock(fd, LOCK_SH) != 0 && errno == EINTR) {
        }
        if (StillNamed(name, st)) return fd;
        close(fd);
    }
    errno = EAGAIN;
    return Fail();
}

bool SysDeleteUnusedFile(const char* name) {
    struct stat st;
    int fd = OpenRegularFile(name, O_RDONLY, &st);
    if (fd < 0) return Fail(), false;
    bool ok = flock(fd, LOCK_EX | LOCK_NB) == 0 && StillNamed(name, st) && unlink(name) == 0;
    if (!ok) PosixSetLastErrorFromErrno();
    close(fd);
    return ok;
}

bool SysCanCreateFilesIn(const char* folder) {
    struct stat st;
    if (stat(folder, &st) != 0) return Fail(), false;
    if (!S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        return Fail(), false;
    }
    if (access(folder, W_OK | X_OK) != 0) return Fail(), false;
    return true;
}

namespace {

// A replacement being written: its handle, its temporary file and the file it replaces.
// A file written directly (a device) has no temporary file.
struct Replacement {
    bool inUse;
    int fd;
    bool direct;
    char temporary[PATH_MAX];
    char target[PATH_MAX];
};
// Writers replace one file at a time; a few slots leave room for nesting. All zero, so
// the slots cost the program file nothing.
Replacement gReplacements[4];

// The slot of handle f; SYS_NO_FILE finds a free one.
Replacement* FindReplacement(SysFile f) {
    for (Replacement& r : gReplacements) {
        if (f == SYS_NO_FILE ? !r.inUse : r.inUse && r.fd == f) return &r;
    }
    return nullptr;
}

// Follows symbolic links from name to the file they end at (which may not exist yet) and
// writes its path into out. Relative link contents count from the link's own folder.
bool ResolveLinks(const char* name, char* out) {
    if (snprintf(out, PATH_MAX, "%s", name) >= PATH_MAX) return FailWith(ENAMETOOLONG);
    for (int hops = 0;; ++hops) {
        struct stat st;
        if (lstat(out, &st) != 0) return errno == ENOENT ? true : FailWith(errno);
        if (!S_ISLNK(st.st_mode)) return true;
        if (hops == 40) return FailWith(ELOOP);
        char content[PATH_MAX];
        ssize_t n = readlink(out, content, sizeof content - 1);
        if (n < 0) return FailWith(errno);
        content[n] = '\0';
        if (content[0] == '/') {
            memcpy(out, content, static_cast<size_t>(n) + 1);
            continue;
        }
        char* slash = strrchr(out, '/');
        size_t folder = slash != nullptr ? static_cast<size_t>(slash - out) + 1 : 0;
        if (folder + static_cast<size_t>(n) >= PATH_MAX) return FailWith(ENAMETOOLONG);
        memcpy(out + folder, content, static_cast<size_t>(n) + 1);
    }
}

// Creates ".NAME.kelmor-XXXXXX" beside target, exclusively, and writes its path to out.
int CreateBeside(const char* target, char* out) {
    const char* slash = strrchr(target, '/');
    const int folder = slash != nullptr ? static_cast<int>(slash - target) + 1 : 0;
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        struct timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        uint64_t seed = static_cast<uint64_t>(now.tv_nsec) * 2654435761u ^ static_cast<uint64_t>(getpid()) << 20 ^
                        ++counter * 40503u;
        char suffix[7];
        for (char& c : suffix) {
            c = kLetters[seed % (sizeof kLetters - 1)];
            seed /= sizeof kLetters - 1;
        }
        suffix[6] = '\0';
        int n = snprintf(out, PATH_MAX, "%.*s.%s.kelmor-%s", folder, target, target + folder, suffix);
        if (n < 0 || n >= PATH_MAX) return FailWith(ENAMETOOLONG), -1;
        int fd = open(out, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) return fd;
        if (errno != EEXIST) return FailWith(errno), -1;
    }
    return FailWith(EEXIST), -1;
}

// Syncs the folder holding path, so the rename itself survives a crash. Best effort.
void SyncFolderOf(const char* path) {
    char folder[PATH_MAX];
    const char* slash = strrchr(path, '/');
    if (slash == nullptr) {
        strcpy(folder, ".");
    } else {
        const size_t n = slash == path ? 1 : static_cast<size_t>(slash - path);
        memcpy(folder, path, n);
        folder[n] = '\0';
    }
    int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

void Forget(Replacement* r) {
    r->inUse = false;
    r->fd = -1;
    r->temporary[0] = r->target[0] = '\0';
}

}  // namespace

SysFile SysBeginReplacement(const char* target, const char* modeFrom) {
    Replacement* r = FindReplacement(SYS_NO_FILE);
    if (r == nullptr) return FailWith(EMFILE), SYS_NO_FILE;
    if (target == nullptr || target[0] == '\0') return FailWith(ENOENT), SYS_NO_FILE;
    struct stat old;
    const bool exists = stat(target, &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) return FailWith(EISDIR), SYS_NO_FILE;
    if (exists && !S_ISREG(old.st_mode)) {
        // Opened by its own name: links such as /dev/stdout lead where only the system
        // knows. No blocking on a pipe nobody reads: that fails (ENXIO) instead.
        int fd = open(target, O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return Fail();
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        r->fd = fd;
        r->inUse = true;
        r->direct = true;
        return fd;
    }
    if (!ResolveLinks(target, r->target)) return SYS_NO_FILE;
    int fd = CreateBeside(r->target, r->temporary);
    if (fd < 0) return SYS_NO_FILE;
    struct stat model;
    if (modeFrom != nullptr && modeFrom[0] != '\0' && stat(modeFrom, &model) == 0) {
        fchmod(fd, model.st_mode & 07777);
    } else if (exists) {
        if (fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Only a privileged process may give the file away; the bits still carry over.
        }
        fchmod(fd, old.st_mode & 07777);
    }
    r->fd = fd;
    r->inUse = true;
    r->direct = false;
    return fd;
}

bool SysCommitReplacement(SysFile f) {
    Replacement* r = f == SYS_NO_FILE ? nullptr : FindReplacement(f);
    if (r == nullptr) return FailWith(EBADF);
    bool ok = r->direct || fsync(r->fd) == 0;
    if (!ok) PosixSetLastErrorFromErrno();
    if (close(r->fd) != 0 && ok) {
        PosixSetLastErrorFromErrno();
        ok = false;
    }
    if (!r->direct) {
        if (ok && rename(r->temporary, r->target) != 0) {
            PosixSetLastErrorFromErrno();
            ok = false;
        }
        if (ok) SyncFolderOf(r->target);
        else unlink(r->temporary);
    }
    Forget(r);
    return ok;
}

void SysDiscardReplacement(SysFile f) {
    Replacement* r = f == SYS_NO_FILE ? nullptr : FindReplacement(f);
    if (r == nullptr) return;
    const int saved = errno;
    close(r->fd);
    if (!r->direct) unlink(r->temporary);
    errno = saved;
    Forget(r);
}

SysFileKind SysGetFileKind(const char* name) {
    struct stat st;
    if (name == nullptr || stat(name, &st) != 0) return SYS_FILE_MISSING;
    if (S_ISREG(st.st_mode)) return SYS_FILE_REGULAR;
    return S_ISDIR(st.st_mode) ? SYS_FILE_FOLDER : SYS_FILE_OTHER;
}

bool SysIsSameFile(const char* a, const char* b) {
    struct stat sa, sb;
    return a != nullptr && b != nullptr && stat(a, &sa) == 0 && stat(b, &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}
