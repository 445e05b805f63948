#include "service/service_data.h"

#include <cstring>

#include "platform/shared_memory.h"
#include "settings/log.h"

ServiceInstance gService;

namespace {

const char kSharedName[] = "dllmemfilemap";

// Copies text into a field of size bytes when it fits with its terminator; else the
// field stays empty.
void CopyIfFits(char* field, size_t size, const char* text) {
    if (text == nullptr) return;
    const size_t length = strnlen(text, size);
    if (length < size) memcpy(field, text, length + 1);
}

}  // namespace

bool AttachServiceData() {
    if (gService.gpServiceData) return true;
    bool created = false;
    void* block = SysOpenSharedMemory(kSharedName, sizeof(KELMORSERVICEDATA), &created);
    if (block == nullptr) return false;
    gService.gpServiceData = static_cast<KELMORSERVICEDATA*>(block);
    if (created) memset(gService.gpServiceData, 0, sizeof *gService.gpServiceData);
    return true;
}

void DetachServiceData() {
    if (gService.gpServiceData == nullptr) return;
    SysCloseSharedMemory(gService.gpServiceData, sizeof *gService.gpServiceData);
    gService.gpServiceData = nullptr;
}

int ReloadServiceCache(uint32_t hWndMain, uint32_t hHook, int32_t logLevel, const char* logFile,
                       const uint8_t* action, const uint8_t* control, const uint8_t* shift, const uint8_t* alt,
                       const char* shortTypes, const char* keyboardLayout) {
    KELMORSERVICEDATA image;
    memset(&image, 0, sizeof image);
    image.hWndMain = hWndMain;
    image.hHook = hHook;
    image.nLogLevel = logLevel;
    CopyIfFits(image.szLogFile, sizeof image.szLogFile, logFile);
    CopyIfFits(image.szKeyboardLayout, sizeof image.szKeyboardLayout, keyboardLayout);
    if (action) memcpy(image.bAction, action, sizeof image.bAction);
    if (control) memcpy(image.bControl, control, sizeof image.bControl);
    if (shift) memcpy(image.bShift, shift, sizeof image.bShift);
    if (alt) memcpy(image.bAlt, alt, sizeof image.bAlt);
    for (int slot = 0; shortTypes != nullptr && slot < SHORTTYPE_SLOTS; ++slot) {
        const char* given = shortTypes + slot * SHORTTYPE_SLOT_SIZE;
        const size_t length = strnlen(given, SHORTTYPE_SLOT_SIZE);
        if (length == 0 || length == SHORTTYPE_SLOT_SIZE) continue;
        // The hook looks only at the first nShortTypes slots, so a list with gaps is
        // packed rather than losing the slots behind a gap.
        const int n = image.nShortTypes;
        char* cached = image.szShortType[n];
        for (size_t i = 0; i < length; ++i) {
            const char ch = given[i];
            cached[i] = ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
        }
        image.chShortTypeLast[n] = cached[length - 1];
        image.nShortTypeLength[n] = static_cast<uint8_t>(length);
        image.nShortTypes = n + 1;
        if (logLevel > 2)
            WriteLogLine(image.szLogFile, "   Service-->Caching ShortType #%d=\"%s\" [%c], %d", slot + 1, cached,
                         cached[length - 1], static_cast<int>(length));
    }
    memset(gService.gszKeyBuffer, 0, sizeof gService.gszKeyBuffer);
    if (logLevel > 2)
        WriteLogLine(image.szLogFile, "   Service-->sizeof(KELMORSERVICEDATA): %d/%d/%d/%d/%d",
                     static_cast<int>(sizeof(KELMORSERVICEDATA)), static_cast<int>(sizeof(int32_t)),
                     static_cast<int>(sizeof(int16_t)), static_cast<int>(sizeof(char)),
                     static_cast<int>(sizeof(uint8_t)));
    if (gService.gpServiceData) memcpy(gService.gpServiceData, &image, sizeof image);
    return 1;
}

void ResetServiceState() {
    DetachServiceData();
    gService = ServiceInstance{};
}
