# The keyboard service module's own entries: on Linux it takes the system's part from the
# program that loads it; on Windows (KelmorService.DLL) the system's part is linked in.
kelmor_sources(KELMOR_SERVICE_MODULE_SOURCES attach.cpp)
kelmor_sources(KELMOR_SERVICE_DLL_SOURCES
  dll_main.cpp
  dll_system.cpp)
