#include <algorithm>
#include <cstring>

#include "platform/clipboard.h"
#include "tests/fakes/fakes.h"

namespace fake {
bool clipboardHasText;
std::string clipboardText;
int clipboardSets;
}  // namespace fake

bool SysGetClipboardText(char* out, int size) {
    if (!fake::clipboardHasText || size <= 0) return false;
    const size_t length = std::min(fake::clipboardText.size(), static_cast<size_t>(size - 1));
    memcpy(out, fake::clipboardText.data(), length);
    out[length] = '\0';
    return true;
}

bool SysSetClipboardText(const char* text) {
    fake::clipboardText = text;
    fake::clipboardHasText = true;
    ++fake::clipboardSets;
    return true;
}
