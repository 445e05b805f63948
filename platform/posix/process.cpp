#include "platform/process.h"

#include <glib.h>

#include <cerrno>

#include "platform/posix/last_error.h"

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
    gboolean ok = g_spawn_async(nullptr, argv, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, &error);
    g_strfreev(argv);
    if (!ok) {
        errno = (error != nullptr && error->domain == G_SPAWN_ERROR && error->code == G_SPAWN_ERROR_NOENT) ? ENOENT
                                                                                                       : EACCES;
        PosixSetLastErrorFromErrno();
        g_error_free(error);
        return false;
    }
    return true;
}
