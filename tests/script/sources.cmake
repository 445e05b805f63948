# The unit tests of script/, in kelmor_unit_tests.
kelmor_sources(KELMOR_SCRIPT_TESTS
  key_names_test.cpp
  random_test.cpp
  send_lock_key_test.cpp
  type_expansion_test.cpp)
