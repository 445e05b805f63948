// The whole program's state back to that of a fresh process: every folder's reset, in
// one list, and the command table handed to the dispatch. Each program runs it first,
// before it decides its run mode or loads the settings; each unit test starts from it.
// The keyboard service's own state is not in it: it belongs to the service module,
// which starts afresh wherever it is loaded.
#pragma once

void ResetProgramState();
