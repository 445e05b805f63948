// The Run value (the program started at log-in) lives where desktop sessions look for it:
// an autostart desktop entry whose Exec line holds the path.
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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
    GKeyFile* file = g_key_file_new();
    g_key_file_set_string(file, kGroup, "Type", "Application");
    g_key_file_set_string(file, kGroup, "Name", "Kelmor");
    if (text.empty()) {
        g_key_file_set_boolean(file, kGroup, "Hidden", TRUE);
    } else {
        g_key_file_set_string(file, kGroup, "Exec", QuoteExecArgument(text).c_str());
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
    return err == 0 ? true : Fail(err);
}

bool AutostartDelete() {
    if (unlink(DesktopFile().c_str()) != 0) return Fail(errno);
    return true;
}

}  // namespace kstore
