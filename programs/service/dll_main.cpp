// The keyboard service DLL's attach and detach: the system loads it into every process
// that gets keyboard input while the hook is installed, and each instance maps the one
// shared record there.
#include "platform/win32/windows_api.h"

#include "service/service_data.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    // Without its record the instance could only discard keys: it refuses to load instead.
    if (reason == DLL_PROCESS_ATTACH) return AttachServiceData() ? TRUE : FALSE;
    if (reason == DLL_PROCESS_DETACH) DetachServiceData();
    return TRUE;
}
