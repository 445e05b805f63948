# The unit tests of host/, in kelmor_unit_tests.
kelmor_sources(KELMOR_HOST_TESTS
  mappings_test.cpp
  service_control_test.cpp
  short_types_test.cpp)
