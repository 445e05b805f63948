#include "platform/shared_memory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/posix/last_error.h"

namespace {

// An object that another user made under the name (or left open to others) could feed
// this user's processes anything, so only a private object of the user's own is used.
bool IsPrivateAndOwn(int fd, off_t* bytes) {
    struct stat info;
    if (fstat(fd, &info) != 0) return false;
    if (info.st_uid != getuid() || (info.st_mode & 077) != 0) return false;
    *bytes = info.st_size;
    return true;
}

// The desktop session the block belongs to: its X server, named by the display without
// its screen number and with the local ways of reaching it (":0", "unix:0", "localhost:0")
// made one, every character a name may not hold made '_'. Two screens of one server are
// one session: one service per user and server. Two servers of one user keep apart, as
// the system's sessions do; empty without a display.
void SessionOf(char* out, size_t size) {
    const char* display = getenv("DISPLAY");
    out[0] = '\0';
    if (display == nullptr || display[0] == '\0' || size < 2) return;
    const char* colon = strrchr(display, ':');
    size_t hostLength = colon != nullptr ? static_cast<size_t>(colon - display) : strlen(display);
    const bool local = hostLength == 0 || (hostLength == 4 && strncmp(display, "unix", 4) == 0) ||
                       (hostLength == 9 && strncmp(display, "localhost", 9) == 0) ||
                       (hostLength == 9 && strncmp(display, "127.0.0.1", 9) == 0);
    if (local) hostLength = 0;
    size_t n = 0;
    out[n++] = '-';
    auto put = [&](char c) {
        const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.';
        if (n + 1 < size) out[n++] = plain ? c : '_';
    };
    for (size_t i = 0; i < hostLength; ++i) put(display[i]);
    if (colon != nullptr) {
        put(':');
        // The display number; the screen after its dot names no other server.
        for (const char* c = colon + 1; *c != '\0' && *c != '.'; ++c) put(*c);
    }
    out[n] = '\0';
}

}  // namespace

void* SysOpenSharedMemory(const char* name, uint32_t size, bool* created) {
    char session[64];
    SessionOf(session, sizeof session);
    char path[256];
    const int length =
        snprintf(path, sizeof path, "/%s-%u%s", name, static_cast<unsigned>(getuid()), session);
    if (length < 0 || length >= static_cast<int>(sizeof path) || size == 0) return nullptr;
    bool made = true;
    int fd = shm_open(path, O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd < 0 && errno == EEXIST) {
        made = false;
        fd = shm_open(path, O_RDWR, 0600);
    }
    if (fd < 0) {
        PosixSetLastErrorFromErrno();
        return nullptr;
    }
    off_t bytes = 0;
    if (!IsPrivateAndOwn(fd, &bytes)) {
        close(fd);
        return nullptr;
    }
    // The maker sizes the object after creating it; an opener that comes in between sees
    // it empty. Growing fills with zeros and leaves what is there, so either may do it.
    if (bytes < static_cast<off_t>(size) && ftruncate(fd, size) != 0) {
        PosixSetLastErrorFromErrno();
        close(fd);
        return nullptr;
    }
    void* address = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    if (address == MAP_FAILED) {
        PosixSetLastErrorFromErrno();
        return nullptr;
    }
    if (created) *created = made;
    return address;
}

void SysCloseSharedMemory(void* address, uint32_t size) {
    if (address) munmap(address, size);
}
