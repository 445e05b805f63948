# The POSIX back ends, one library per seam (the top CMakeLists.txt).
kelmor_sources(KELMOR_POSIX_FILE_SOURCES file.cpp)
kelmor_sources(KELMOR_POSIX_SYSTEM_SOURCES system.cpp)
kelmor_sources(KELMOR_POSIX_CLOCK_SOURCES clock.cpp)
kelmor_sources(KELMOR_POSIX_PROCESS_SOURCES process.cpp)
kelmor_sources(KELMOR_POSIX_SHARED_MEMORY_SOURCES shared_memory.cpp)
# The journal playback driver the display back ends share.
kelmor_sources(KELMOR_POSIX_PLAYBACK_SOURCES playback_driver.cpp)
kelmor_sources(KELMOR_POSIX_REGISTRY_SOURCES
  registry.cpp
  registry_autostart.cpp
  registry_codec.cpp)
# Loading modules of the program's own.
kelmor_sources(KELMOR_POSIX_MODULE_SOURCES module.cpp)
