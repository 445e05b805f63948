// A program without a window owns no clipboard: a text put there would have to be handed
// out by a loop that answers other programs, and would go when the program ends.
#include "platform/clipboard.h"

bool SysSetClipboardText(const char*) { return false; }
void SysLetGoOfClipboard() {}
