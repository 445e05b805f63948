// Message boxes of the command-line tool: nobody is there to answer, so each box is one
// line on standard error and takes its default button.
#include <cstdio>
#include <string>

#include "platform/shell.h"
#include "platform/wintypes.h"

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
    return MessageBoxDefaultAnswer(style);
}

}  // namespace

int ShellMessageBox(const char* text, const char* caption, uint32_t style) { return PrintBox(text, caption, style); }

int ShellIconMessageBox(const char* text, const char* caption, uint32_t style, int) {
    return PrintBox(text, caption, style);
}
