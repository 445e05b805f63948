# The program's side of the keyboard service: Mappings, ShortTypes and loading it (kelmor_core).
kelmor_sources(KELMOR_HOST_SOURCES
  busy_processes.cpp
  mappings.cpp
  service_control.cpp
  service_loading.cpp
  short_types.cpp)
