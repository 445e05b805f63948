# Tests of the Windows back ends, under Wine.
kelmor_sources(KELMOR_WIN32_TESTS
  character_input_test.cpp
  file_test.cpp
  process_test.cpp
  registry_test.cpp
  service_dll_test.cpp
  shared_memory_test.cpp
  system_test.cpp)
