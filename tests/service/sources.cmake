# The unit tests of service/, in kelmor_unit_tests.
kelmor_sources(KELMOR_SERVICE_TESTS
  keyboard_proc_test.cpp
  service_data_test.cpp)
