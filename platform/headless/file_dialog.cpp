// A program without a main window asks for no file names. Its message boxes live
// elsewhere (standard error or dialogs), chosen at link time.
#include "platform/message_box.h"

bool ShellFileDialog(bool, char*, int, const char*, int, int*) {
    // A terminal tool takes its names from its arguments; a dialog is never answered.
    return false;
}
