// Message boxes of the command-line tool: nobody is there to answer, so each box is one
// line on standard error and takes its default button.
#include "platform/console/print_box.h"
#include "platform/message_box.h"

int ShellMessageBox(const char* text, const char* caption, uint32_t style) {
    return ConsolePrintBox(text, caption, style);
}

int ShellIconMessageBox(const char* text, const char* caption, uint32_t style, int) {
    return ConsolePrintBox(text, caption, style);
}
