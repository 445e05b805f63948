// The keyboard service module's two entry points are found by name, so they keep C names
// and are the only symbols the module shows.
#pragma once

#if defined(_WIN32)
#define SERVICE_ENTRY extern "C" __declspec(dllexport)
#else
#define SERVICE_ENTRY extern "C" __attribute__((visibility("default")))
#endif
