// The keyboard service module: its record is mapped while the module is loaded. The code
// it runs lives in service/; the system's part (key state, typing, the store, the log
// file, the message loop) is the program's that loads it, so the two share one view of
// the keyboard and one connection to the display.
#include "service/service_data.h"

namespace {

// A module without its record discards nothing and caches nothing: its entries then do
// no harm while the program runs on.
__attribute__((constructor)) void AttachOnLoad() { AttachServiceData(); }

__attribute__((destructor)) void DetachOnUnload() { DetachServiceData(); }

}  // namespace
