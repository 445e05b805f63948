#include <cstring>

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/process.h"
#include "platform/window.h"
#include "tests/fakes/fakes.h"

namespace fake {

uint32_t tickCount = 0;
SYSTEMTIME localTime = {};
std::vector<KeyEvent> keyEvents;
uint8_t keyboardState[256] = {};
std::string keyboardLayout;
std::vector<std::string> activatedLayouts;
std::vector<std::string> startedPrograms;
bool startProgramSucceeds = true;
std::vector<std::string> openedUris;
bool openSucceeds = true;

void ResetShell();
void ResetJournalAndDesktop();
void ResetDialogs();
void ResetKeyboardHook();

void Reset() {
    ResetShell();
    ResetJournalAndDesktop();
    ResetDialogs();
    ResetKeyboardHook();
    tickCount = 0;
    localTime = SYSTEMTIME{2004, 8, 0, 15, 9, 5, 3, 42};
    keyEvents.clear();
    memset(keyboardState, 0, sizeof keyboardState);
    keyboardLayout.clear();
    activatedLayouts.clear();
    startedPrograms.clear();
    startProgramSucceeds = true;
    openedUris.clear();
    openSucceeds = true;
    ResetStore();
    sharedBlocks.clear();
    refuseSharedMemory = false;
    clipboardHasText = false;
    clipboardText.clear();
    clipboardSets = 0;
    modules.clear();
}

}  // namespace fake

uint32_t SysGetTickCount() { return fake::tickCount; }

void SysGetLocalTime(SYSTEMTIME* out) { *out = fake::localTime; }

// Time passes on the fake clock only.
void SysSleep(uint32_t milliseconds) { fake::tickCount += milliseconds; }

void SysKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) { fake::keyEvents.push_back({vk, scan, flags}); }

bool SysGetKeyboardState(uint8_t state[256]) {
    memcpy(state, fake::keyboardState, 256);
    return true;
}

int16_t SysGetKeyState(uint8_t vk) {
    const uint8_t key = fake::keyboardState[vk];
    return static_cast<int16_t>(((key & 0x80) != 0 ? 0x8000 : 0) | (key & 0x01));
}

bool SysSetKeyboardState(const uint8_t state[256]) {
    memcpy(fake::keyboardState, state, 256);
    return true;
}

int SysGetKeyboardLayoutName(char* out, int size) {
    if (out == nullptr || size <= 0) return 0;
    const int length = static_cast<int>(fake::keyboardLayout.copy(out, static_cast<size_t>(size) - 1));
    out[length] = '\0';
    return length;
}

bool SysActivateKeyboardLayout(const char* name) {
    fake::activatedLayouts.push_back(name);
    fake::keyboardLayout = name;
    return true;
}

bool SysStartProcess(const char* commandLine) {
    fake::startedPrograms.push_back(commandLine ? commandLine : "");
    return fake::startProgramSucceeds;
}

bool ShellOpen(const char* uri) {
    fake::openedUris.push_back(uri ? uri : "");
    return fake::openSucceeds;
}
