#include "app/help_commands.h"

#include <cstring>

#include "app/advanced_options.h"
#include "platform/desktop.h"
#include "platform/dialog.h"
#include "platform/file.h"
#include "platform/system.h"
#include "platform/wintypes.h"
#include "settings/format.h"
#include "ui/command_ids.h"
#include "ui/help_topics.h"
#include "ui/message_box.h"
#include "ui/pane_description.h"

const char kWebPageAddress[] = "https://kelmor.example.org";
const char kSupportMailAddress[] = "mailto:support@kelmor.example.org";

namespace {

const char kHelpFailure[] = "\"Unable to open the help file\"";
// A URI may be three times its path, every byte escaped.
const int kUriSize = 3 * MAX_PATH + 64;

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Bytes a URI path may hold as they are; everything else is escaped.
bool KeptInUri(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || strchr("-._~/:", c) != nullptr;
}

// Where the program's folder ends in its path, its last separator included.
int FolderEnd(const char* programPath) {
    int folderEnd = 0;
    for (int i = 0; programPath[i] != '\0'; ++i) {
        if (IsSeparator(programPath[i])) folderEnd = i + 1;
    }
    return folderEnd;
}

// The page beside the program itself, where a Windows installation may keep its help
// files; 0 when it does not fit.
int PageBesideProgram(const char* programPath, const char* page, char* out, int size) {
    const int folderEnd = FolderEnd(programPath);
    const int pageLength = static_cast<int>(strlen(page));
    if (folderEnd + pageLength >= size) return 0;
    memcpy(out, programPath, static_cast<size_t>(folderEnd));
    memcpy(out + folderEnd, page, static_cast<size_t>(pageLength) + 1);
    return folderEnd + pageLength;
}

void OpenHelpPage(HelpPage page, int contextId) {
    char program[MAX_PATH];
    char path[MAX_PATH];
    char anchor[16] = "";
    char uri[kUriSize];
    const char* name = kHelpPageNames[page];
    const bool located = SysGetModuleFileName(program, sizeof program) > 0 &&
                         HelpPagePath(program, name, path, sizeof path) > 0;
    if (!located) FormatText(path, sizeof path, "%s", name);
    char beside[MAX_PATH];
    if (located && SysGetFileKind(path) == SYS_FILE_MISSING &&
        PageBesideProgram(program, name, beside, sizeof beside) > 0 && SysGetFileKind(beside) == SYS_FILE_REGULAR) {
        FormatText(path, sizeof path, "%s", beside);
    }
    if (contextId != 0) HelpAnchor(contextId, anchor, sizeof anchor);
    if (located && SysGetFileKind(path) == SYS_FILE_MISSING) {
        // The path a person can look for; a caption would cut it.
        KelmorMessageBoxF("Kelmor Help", MB_OK | MB_ICONEXCLAMATION, "The help file is missing:\n\n%s", path);
        return;
    }
    if (located && FileUri(path, anchor, uri, sizeof uri) > 0 && ShellOpen(uri)) return;
    KelmorMessageBoxF("Kelmor Help", MB_OK | MB_ICONEXCLAMATION, "%s\n\n%s", kHelpFailure, path);
}

}  // namespace

int HelpPagePath(const char* programPath, const char* page, char* out, int size) {
    if (size <= 0) return 0;
    out[0] = '\0';
    const int folderEnd = FolderEnd(programPath);
    const char separator = folderEnd > 0 ? programPath[folderEnd - 1] : '/';
    // "bin" as the folder's whole last name, in a POSIX path: a Windows installation keeps
    // its help beside the program, whatever its folder is called.
    const bool installed = separator == '/' && folderEnd >= 4 && strncmp(programPath + folderEnd - 4, "bin", 3) == 0 &&
                           (folderEnd == 4 || IsSeparator(programPath[folderEnd - 5]));
    char tail[64];
    if (installed) FormatText(tail, sizeof tail, "share%ckelmor%chelp%c%s", separator, separator, separator, page);
    else FormatText(tail, sizeof tail, "help%c%s", separator, page);
    const int base = installed ? folderEnd - 4 : folderEnd;
    const int tailLength = static_cast<int>(strlen(tail));
    if (base + tailLength >= size) return 0;
    memcpy(out, programPath, static_cast<size_t>(base));
    memcpy(out + base, tail, static_cast<size_t>(tailLength) + 1);
    return base + tailLength;
}

int FileUri(const char* path, const char* anchor, char* out, int size) {
    if (size <= 0) return 0;
    static const char kHex[] = "0123456789ABCDEF";
    int n = 0;
    auto put = [&](char c) {
        if (n < size - 1) out[n] = c;
        ++n;
    };
    auto putEscaped = [&](const char* text) {
        for (const char* p = text; *p != '\0'; ++p) {
            const unsigned char c = *p == '\\' ? '/' : static_cast<unsigned char>(*p);
            if (KeptInUri(c)) {
                put(static_cast<char>(c));
            } else {
                put('%');
                put(kHex[c >> 4]);
                put(kHex[c & 15]);
            }
        }
    };
    for (const char* p = "file://"; *p != '\0'; ++p) put(*p);
    // A drive letter path ("C:\...") needs the slash an absolute POSIX path brings along.
    if (!IsSeparator(path[0])) put('/');
    putEscaped(path);
    if (anchor != nullptr && anchor[0] != '\0') {
        put('#');
        putEscaped(anchor);
    }
    if (n >= size) {
        out[0] = '\0';
        return 0;
    }
    out[n] = '\0';
    return n;
}

void OpenHelpTopic(int contextId) { OpenHelpPage(HELP_CONTENTS, contextId); }

bool OpenWebPage() {
    if (ShellOpen(kWebPageAddress)) return true;
    KelmorMessageBoxF("Internet Error", MB_OK | MB_ICONEXCLAMATION, "Unable to locate '%s'", kWebPageAddress);
    return false;
}

void OnHelpContents(int) { OpenHelpPage(HELP_CONTENTS, 0); }

// While Advanced Options is open, its page is the screen.
void OnHelpForThisScreen(int) {
    const int optionsTab = CurrentOptionsTab();
    if (optionsTab >= 0) {
        OpenHelpPage(HELP_CONTENTS, kOptionsTabHelpContexts[optionsTab]);
        return;
    }
    const int tab = DialogListSelection(ID_PANES, IDC_PANE_TABS);
    OpenHelpPage(HELP_CONTENTS, tab >= 0 && tab < PANE_TAB_COUNT ? kPaneTabHelpContexts[tab] : 0);
}

void OnHelpPage(int id) {
    if (id == ID_SCRIPT_REFERENCE) OpenHelpPage(HELP_SCRIPT_REFERENCE, 0);
    else if (id == ID_REVISIONS) OpenHelpPage(HELP_REVISIONS, 0);
    else if (id == ID_FAQ) OpenHelpPage(HELP_FAQ, 0);
}

void OnSupportMail(int) {
    if (ShellOpen(kSupportMailAddress)) return;
    // Not a help file: the desktop has no mail program for the address, which is shown so
    // that it can be written to some other way.
    const char* address = strchr(kSupportMailAddress, ':') + 1;
    KelmorMessageBoxF("Email Tech Support", MB_OK | MB_ICONEXCLAMATION,
                      "Unable to open a mail program to write to %s.\n\nYou can write to this address from the "
                      "mail program you use.",
                      address);
}

void OnWebPage(int) { OpenWebPage(); }
