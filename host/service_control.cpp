#include "host/service_control.h"

#include "host/mappings.h"
#include "settings/log.h"

intptr_t ghServiceHook = 0;

// The keyboard service is not loaded by this program yet, so its hook is never
// installed: ghServiceHook stays 0 and there is nothing to take away or put back.
// Loading, installing and removing the service arrive together with the service.

void RemoveServiceForJournal(int reason) {
    if (ghServiceHook == 0) return;
    // A handle that this program has no means to remove stays installed; say so rather
    // than pretend it went away.
    LogAt(LOG_HIGH, "Remove Keyboard Service %li FAILURE", static_cast<int32_t>(ghServiceHook));
    (void)reason;
}

void ServiceTimerUpkeep() {}

bool ReloadServiceCache() {
    ReadMappings();
    return false;  // no service is loaded: nothing takes the cache
}

void ResetHostState() {
    ghServiceHook = 0;
    ClearMappings();
}
