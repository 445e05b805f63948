#include "platform/file.h"

#include <fcntl.h>
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
