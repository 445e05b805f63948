// The keyboard service module's two entry points are found by name, so they keep C names
// and are the only symbols the module shows.
#pragma once

#if defined(_WIN32)
// The DLL's .def file names its exports, undecorated whatever the calling convention.
#define SERVICE_ENTRY extern "C"
#else
#define SERVICE_ENTRY extern "C" __attribute__((visibility("default")))
#endif
