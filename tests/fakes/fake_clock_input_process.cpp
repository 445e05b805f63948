#include <cstring>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/process.h"
#include "platform/window.h"
#include "tests/fakes/fakes.h"

namespace fake {

uint32_t tickCount = 0;
SYSTEMTIME localTime = {};
std::vector<KeyEvent> keyEvents;
uint8_t keyboardState[256] = {};
std::set<uint8_t> unsentKeys;
std::set<uint32_t> untypableCharacters;
int eventsPerCharacter = 1;
uint32_t eventCharacter = 0;
bool otherInputHeld = false;
int holdsFindingNewerKeys = 0;
bool keyAfterTyping = false;
std::vector<std::string> startedPrograms;
bool startProgramSucceeds = true;
uint32_t processId = 4242;
std::set<uint32_t> runningProcesses;
std::vector<std::string> openedUris;
std::vector<std::string> openedTextFiles;
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
    unsentKeys.clear();
    untypableCharacters.clear();
    eventsPerCharacter = 1;
    eventCharacter = 0;
    otherInputHeld = false;
    holdsFindingNewerKeys = 0;
    keyAfterTyping = false;
    startedPrograms.clear();
    startProgramSucceeds = true;
    processId = 4242;
    runningProcesses.clear();
    openedUris.clear();
    openedTextFiles.clear();
    openSucceeds = true;
    ResetStore();
    RetireSharedBlocks();
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

bool SysKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
    if (fake::unsentKeys.count(vk) != 0) return false;
    fake::keyEvents.push_back({vk, scan, flags, 0, fake::otherInputHeld});
    return true;
}

bool SysCanTypeCharacter(uint32_t character) {
    return character >= 0x20 && character != 0x7F && !(character >= 0x80 && character < 0xA0) &&
           character <= 0x10FFFF && fake::untypableCharacters.count(character) == 0;
}

int SysTypeCharacter(uint32_t character, bool press) {
    if (!SysCanTypeCharacter(character)) return 0;
    fake::keyEvents.push_back(
        {VK_PACKET, 0, press ? 0u : static_cast<uint32_t>(KEYEVENTF_KEYUP), character, fake::otherInputHeld});
    return fake::eventsPerCharacter;
}

bool SysHoldOtherInput() {
    if (fake::holdsFindingNewerKeys > 0) {
        --fake::holdsFindingNewerKeys;
        return false;
    }
    fake::otherInputHeld = true;
    return true;
}

void SysLetOtherInputGo() { fake::otherInputHeld = false; }

bool SysKeyEventAfterTyping() { return fake::keyAfterTyping; }

uint32_t SysKeyEventCharacter() { return fake::eventCharacter; }

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

uint32_t SysCurrentProcessId() { return fake::processId; }

bool SysProcessRuns(uint32_t id) { return id == fake::processId || fake::runningProcesses.count(id) != 0; }

bool SysStartProcess(const char* commandLine) {
    fake::startedPrograms.push_back(commandLine ? commandLine : "");
    return fake::startProgramSucceeds;
}

bool ShellOpenTextFile(const char* path) {
    fake::openedTextFiles.push_back(path ? path : "");
    return fake::openSucceeds;
}

bool ShellOpen(const char* uri) {
    fake::openedUris.push_back(uri ? uri : "");
    return fake::openSucceeds;
}
