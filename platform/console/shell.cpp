// The shell of the command-line tool: there is no window, so message boxes become one
// line on standard error and never wait for an answer.
#include "platform/shell.h"

#include <glib.h>

#include <cstdio>
#include <string>

#include "platform/wintypes.h"
#include "platform/console/console_shell.h"

namespace {

int PrintBox(const char* text, const char* caption, uint32_t style) {
    std::string line = caption ? caption : "";
    line += ": ";
    bool lastBreak = false;
    for (const char* p = text ? text : ""; *p != '\0'; ++p) {
        bool isBreak = *p == '\n' || *p == '\r';
        if (isBreak) {
            if (!lastBreak) line += ' ';
        } else {
            line += *p;
        }
        lastBreak = isBreak;
    }
    fprintf(stderr, "%s\n", line.c_str());
    // Nobody can answer: the box takes its default (first) button.
    return MessageBoxDefaultAnswer(style);
}

void (*gDispatch)(int) = nullptr;

gboolean RunPosted(gpointer data) {
    int id = GPOINTER_TO_INT(data);
    if (gDispatch != nullptr) {
        gDispatch(id);
    } else {
        fprintf(stderr, "kelmorctl: command %d was posted but this command cannot run it\n", id);
    }
    return G_SOURCE_REMOVE;
}

}  // namespace

int ShellMessageBox(const char* text, const char* caption, uint32_t style) { return PrintBox(text, caption, style); }

int ShellIconMessageBox(const char* text, const char* caption, uint32_t style, int) {
    return PrintBox(text, caption, style);
}

// No window: title, menus, toolbar and focus have nothing to show on.
void ShellSetWindowTitle(const char*) {}
void ShellEnableCommand(int, bool) {}
void ShellCheckMenuItem(int, bool) {}
bool ShellMenuInsertAfter(int, int, const char*) { return false; }
bool ShellMenuDeleteItem(int) { return false; }
void ShellFocusSpeedButton(int) {}

bool ShellFileDialog(bool, char*, int, const char*, int, int*) {
    // A terminal tool takes its names from its arguments; a dialog is never answered.
    return false;
}

void ConsoleShellSetDispatcher(void (*dispatch)(int id)) { gDispatch = dispatch; }

void ShellPostCommand(int id) { g_idle_add(RunPosted, GINT_TO_POINTER(id)); }

// No main window: it is never visible, and the pane controls do not exist.
bool ShellIsMainWindowVisible() { return false; }
bool ShellIsMainWindowMinimized() { return false; }
void ShellShowMainWindow(int) {}
void ShellSetStatusText(const char*) {}
int ShellGetStatusText(char* out, int size) {
    if (size > 0) out[0] = '\0';
    return 0;
}
void ShellSetSpeedButtons(int) {}
void ShellSetRepeatField(const char*) {}
void ShellEnableRepeatControls(bool) {}
void ShellSetContinuousBox(bool) {}
void ShellSetTrayIcon(int, const char*) {}
