// The Run value (the program started at log-in) lives where desktop sessions look for it:
// an autostart desktop entry whose Exec line holds the path. A path with a '%' is written
// correctly escaped ("%%"), yet GLib's launcher looks for the program under the escaped
// name and refuses the entry: such a program is started through a symbolic link of the
// user's own, whose path holds no '%'.
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/posix/registry_internal.h"
#include "platform/wintypes.h"

namespace kstore {

const char kRunKeyFolded[] = "software\\microsoft\\windows\\currentversion\\run";
const char kRunValueFolded[] = "kelmor";

namespace {

const char kGroup[] = "Desktop Entry";

std::string AutostartDir() { return ConfigDir() + "/autostart"; }
std::string DesktopFile() { return AutostartDir() + "/kelmor.desktop"; }

// $XDG_DATA_HOME (when absolute) or GLib's user data folder, read at every call as the
// config folder is.
std::string DataDir() {
    const char* env = getenv("XDG_DATA_HOME");
    if (env != nullptr && env[0] == '/') return env;
    return g_get_user_data_dir();
}
std::string LinkFolder() { return DataDir() + "/kelmor/autostart"; }
// Named as the program, which then shows under its own name where processes are listed.
std::string ProgramLink() { return LinkFolder() + "/kelmor"; }

bool IsLink(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

void RemoveProgramLink() {
    if (IsLink(ProgramLink())) unlink(ProgramLink().c_str());
}

// Points the program link at program, replacing the old link whole; 0 or an errno value.
int LinkProgram(const std::string& program) {
    const std::string link = ProgramLink();
    if (link.find('%') != std::string::npos) return EINVAL;
    if (g_mkdir_with_parents(LinkFolder().c_str(), 0700) != 0) return errno;
    const std::string made = link + kTemporaryInfix + std::to_string(static_cast<long>(getpid()));
    unlink(made.c_str());
    if (symlink(program.c_str(), made.c_str()) != 0) return errno;
    if (rename(made.c_str(), link.c_str()) != 0) {
        const int err = errno;
        unlink(made.c_str());
        return err;
    }
    return 0;
}

// One Exec argument: quoted, with the characters the desktop-entry rules reserve escaped
// and a percent sign doubled so it is not taken for a field code.
std::string QuoteExecArgument(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
        if (c == '%') out += '%';
        out += c;
    }
    out += '"';
    return out;
}

// The program named by an Exec line, quoted (as written here) or not (written by hand).
std::string FirstExecArgument(const char* exec) {
    const char* p = exec;
    while (*p == ' ' || *p == '\t') ++p;
    std::string arg;
    if (*p == '"') {
        for (++p; *p != '\0' && *p != '"'; ++p) {
            if (*p == '\\' && p[1] != '\0') ++p;
            arg += *p;
        }
    } else {
        for (; *p != '\0' && *p != ' ' && *p != '\t'; ++p) arg += *p;
    }
    std::string out;
    for (size_t i = 0; i < arg.size(); ++i) {
        if (arg[i] == '%' && i + 1 < arg.size() && arg[i + 1] == '%') ++i;
        out += arg[i];
    }
    return out;
}

int ErrnoOf(const GError* error) {
    if (error == nullptr || error->domain != G_FILE_ERROR) return EINVAL;
    switch (error->code) {
    case G_FILE_ERROR_NOENT: return ENOENT;
    case G_FILE_ERROR_ACCES: return EACCES;
    case G_FILE_ERROR_ISDIR: return EISDIR;
    default: return EIO;
    }
}

}  // namespace

bool AutostartQuery(uint32_t* kind, std::string* data) {
    GKeyFile* file = g_key_file_new();
    GError* error = nullptr;
    if (!g_key_file_load_from_file(file, DesktopFile().c_str(), G_KEY_FILE_NONE, &error)) {
        int err = ErrnoOf(error);
        g_error_free(error);
        g_key_file_free(file);
        return Fail(err);
    }
    // An entry the desktop has switched off starts nothing: it reads as an empty value,
    // which is how an unchecked Auto-Start looks.
    bool off = g_key_file_get_boolean(file, kGroup, "Hidden", nullptr);
    error = nullptr;
    gboolean enabled = g_key_file_get_boolean(file, kGroup, "X-GNOME-Autostart-enabled", &error);
    if (error != nullptr) {
        g_error_free(error);
    } else if (!enabled) {
        off = true;
    }
    std::string text;
    gchar* exec = off ? nullptr : g_key_file_get_string(file, kGroup, "Exec", nullptr);
    if (exec != nullptr) text = FirstExecArgument(exec);
    g_free(exec);
    // The program behind the link stands in the value, as it was written.
    if (!text.empty() && text == ProgramLink() && IsLink(text)) {
        gchar* program = g_file_read_link(text.c_str(), nullptr);
        if (program != nullptr) text = program;
        g_free(program);
    }
    *kind = g_key_file_get_boolean(file, kGroup, "X-Kelmor-Expandable", nullptr) ? REG_EXPAND_SZ : REG_SZ;
    g_key_file_free(file);
    data->assign(text.c_str(), text.size() + 1);
    return true;
}

bool AutostartSet(uint32_t kind, const void* data, uint32_t size) {
    if (kind != REG_SZ && kind != REG_EXPAND_SZ) return Fail(EINVAL);
    const char* bytes = static_cast<const char*>(data);
    std::string text = size == 0 ? std::string() : std::string(bytes, strnlen(bytes, size));
    // Desktop entries are UTF-8 text.
    if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) return Fail(EILSEQ);
    std::string program = text;
    if (text.find('%') != std::string::npos) {
        const int err = LinkProgram(text);
        if (err != 0) return Fail(err);
        program = ProgramLink();
    }
    GKeyFile* file = g_key_file_new();
    g_key_file_set_string(file, kGroup, "Type", "Application");
    g_key_file_set_string(file, kGroup, "Name", "Kelmor");
    if (text.empty()) {
        g_key_file_set_boolean(file, kGroup, "Hidden", TRUE);
    } else {
        g_key_file_set_string(file, kGroup, "Exec", QuoteExecArgument(program).c_str());
    }
    g_key_file_set_boolean(file, kGroup, "Terminal", FALSE);
    if (kind == REG_EXPAND_SZ) g_key_file_set_boolean(file, kGroup, "X-Kelmor-Expandable", TRUE);
    gsize length = 0;
    gchar* contents = g_key_file_to_data(file, &length, nullptr);
    std::string out(contents, length);
    g_free(contents);
    g_key_file_free(file);
    if (g_mkdir_with_parents(AutostartDir().c_str(), 0700) != 0) return Fail(errno);
    int err = WriteFileAtomically(DesktopFile(), out, nullptr);
    if (err != 0) return Fail(err);
    if (program == text) RemoveProgramLink();
    return true;
}

bool AutostartDelete() {
    if (unlink(DesktopFile().c_str()) != 0) return Fail(errno);
    RemoveProgramLink();
    return true;
}

}  // namespace kstore
