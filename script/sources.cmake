# What the script lines of a recording do (kelmor_core).
kelmor_sources(KELMOR_SCRIPT_SOURCES
  key_names.cpp
  random.cpp
  send_lock_key.cpp
  type_expansion.cpp)
