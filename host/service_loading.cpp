// Loading the keyboard service module: only the window's run mode does it, so the
// command-line programs link no module loader for it.
#include "host/service_control.h"

#include "platform/module.h"
#include "platform/wintypes.h"
#include "settings/log.h"
#include "ui/message_box.h"
#include "ui/platform_wording.h"

namespace {

void ShowServiceError(const char* text) {
    KelmorMessageBox(PlatformText(text), "Keyboard Service Error", MB_ICONINFORMATION);
}

}  // namespace

void LoadKeyboardService() {
    char why[256] = "";
    void* module = ModuleLoad(PlatformText("KelmorService.DLL"), why, sizeof why);
    if (module == nullptr) {
        ShowServiceError(
            "Unable to load the Kelmor Keyboard Service (located in \"KelmorService.DLL\")\n\nKelmor can run without "
            "this component, but Mappings and ShortTypes will not be available until you reinstall Kelmor.");
        LogAt(LOG_LOW, "%s", PlatformText("Unable to load \"KelmorService.DLL\""));
        LogAt(LOG_LOW, "%s", why);
        return;
    }
    gServiceHost.gpfnKelmorKeyboardProc = reinterpret_cast<KeyboardProc>(ModuleEntry(module, "KelmorKeyboardProc"));
    if (gServiceHost.gpfnKelmorKeyboardProc == nullptr) LogAt(LOG_LOW, "Unable to load KelmorKeyboardProc");
    gServiceHost.gpfnReloadServiceCache =
        reinterpret_cast<ReloadServiceCacheEntry>(ModuleEntry(module, "ReloadServiceCache"));
    if (gServiceHost.gpfnReloadServiceCache == nullptr) LogAt(LOG_LOW, "Unable to load ReloadServiceCache");
    if (gServiceHost.gpfnKelmorKeyboardProc == nullptr || gServiceHost.gpfnReloadServiceCache == nullptr) {
        ShowServiceError(
            "Unable to load the Kelmor Keyboard Service Addresses (located in \"KelmorService.DLL\")\n\nKelmor can run "
            "without this component, but Mappings and ShortTypes will not be available until you reinstall Kelmor.");
    }
}

