# Tests of the POSIX back ends on this machine.
kelmor_sources(KELMOR_POSIX_TESTS
  clock_test.cpp
  file_test.cpp
  process_test.cpp
  registry_test.cpp
  shared_memory_test.cpp)
