# The unit tests of text/, in kelmor_unit_tests.
kelmor_sources(KELMOR_TEXT_TESTS
  command_line_test.cpp
  no_case_test.cpp
  utf8_test.cpp)
