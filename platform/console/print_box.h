// A message box written as one line on standard error, "Caption: text", for programs
// (or moments) without a screen to show a dialog on. Nobody is there to answer, so the
// box takes its default button. Line breaks become blanks, and whatever a file put into the
// text is shown escaped.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/console/terminal_text.h"
#include "platform/wintypes.h"

inline int ConsolePrintBox(const char* text, const char* caption, uint32_t style) {
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
    fprintf(stderr, "%s\n", TerminalText(line.c_str()).c_str());
    return MessageBoxDefaultAnswer(style);
}
