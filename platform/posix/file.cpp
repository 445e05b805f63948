#include "platform/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/posix/last_error.h"

namespace {

SysFile Fail() {
    PosixSetLastErrorFromErrno();
    return SYS_NO_FILE;
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

SysFile SysCreateReadWrite(const char* name) {
    int fd = open(name, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return fd < 0 ? Fail() : fd;
}

SysFile SysOpenReadWrite(const char* name) {
    int fd = open(name, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
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
    if (lseek(static_cast<int>(f), 0, SEEK_END) < 0) {
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

bool SysCopyFile(const char* from, const char* to) {
    int in = open(from, O_RDONLY | O_CLOEXEC);
    if (in < 0) return Fail(), false;
    struct stat st;
    if (fstat(in, &st) != 0) {
        PosixSetLastErrorFromErrno();
        close(in);
        return false;
    }
    int out = open(to, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, st.st_mode & 07777);
    if (out < 0) {
        PosixSetLastErrorFromErrno();
        close(in);
        return false;
    }
    // An existing target keeps its old mode through O_CREAT; the copy must be runnable
    // when its source is.
    fchmod(out, st.st_mode & 07777);
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
        if (r == 0) break;
        if (!WriteAll(out, buf, static_cast<uint32_t>(r))) {
            ok = false;
            break;
        }
    }
    close(in);
    if (close(out) != 0 && ok) {
        PosixSetLastErrorFromErrno();
        ok = false;
    }
    return ok;
}

bool SysAppendToFile(const char* name, const void* buf, uint32_t n) {
    if (name == nullptr || name[0] == '\0') return false;
    int fd = open(name, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return Fail(), false;
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

bool SysIsFolder(const char* name) {
    struct stat st;
    return name != nullptr && stat(name, &st) == 0 && S_ISDIR(st.st_mode);
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
