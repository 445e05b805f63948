#include "platform/process.h"

#include <glib.h>

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/posix/last_error.h"

namespace {

// A started program belongs to the user's desktop, not to the terminal Kelmor may have
// been started from: it must outlive that terminal's session.
void LeaveSession(gpointer) { setsid(); }

int SpawnErrno(const GError* error) {
    if (error == nullptr || error->domain != G_SPAWN_ERROR) return EIO;
    switch (error->code) {
        case G_SPAWN_ERROR_NOENT: return ENOENT;
        case G_SPAWN_ERROR_ACCES: return EACCES;
        case G_SPAWN_ERROR_PERM: return EPERM;
        case G_SPAWN_ERROR_NOEXEC: return ENOEXEC;
        case G_SPAWN_ERROR_NAMETOOLONG: return ENAMETOOLONG;
        case G_SPAWN_ERROR_NOMEM: return ENOMEM;
        case G_SPAWN_ERROR_TOO_BIG: return E2BIG;
        case G_SPAWN_ERROR_ISDIR: return EISDIR;
        case G_SPAWN_ERROR_LIBBAD: return ELIBBAD;
        case G_SPAWN_ERROR_LOOP: return ELOOP;
        case G_SPAWN_ERROR_TXTBUSY: return ETXTBSY;
        case G_SPAWN_ERROR_NOTDIR: return ENOTDIR;
        case G_SPAWN_ERROR_MFILE: return EMFILE;
        case G_SPAWN_ERROR_NFILE: return ENFILE;
        case G_SPAWN_ERROR_INVAL: return EINVAL;
        case G_SPAWN_ERROR_IO: return EIO;
        default: return EIO;
    }
}

}  // namespace

bool SysStartProcess(const char* commandLine) {
    gchar** argv = nullptr;
    GError* error = nullptr;
    if (!g_shell_parse_argv(commandLine, nullptr, &argv, &error)) {
        g_error_free(error);
        errno = EINVAL;
        PosixSetLastErrorFromErrno();
        return false;
    }
    // Without G_SPAWN_DO_NOT_REAP_CHILD the child is detached through an intermediate
    // process, so it is reaped without a watch, and a failed exec is still reported.
    gboolean ok = g_spawn_async(nullptr, argv, nullptr, G_SPAWN_SEARCH_PATH, LeaveSession, nullptr, nullptr, &error);
    g_strfreev(argv);
    if (!ok) {
        errno = SpawnErrno(error);
        PosixSetLastErrorFromErrno();
        g_error_free(error);
        return false;
    }
    return true;
}

uint32_t SysCurrentProcessId() { return static_cast<uint32_t>(getpid()); }

bool SysProcessRuns(uint32_t id) {
    // Another user's process of that id is running too, though no signal may reach it.
    return id != 0 && id <= static_cast<uint32_t>(INT32_MAX) &&
           (kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM);
}
