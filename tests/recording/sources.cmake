# The unit tests of recording/, in kelmor_unit_tests.
kelmor_sources(KELMOR_RECORDING_TESTS
  executable_recording_test.cpp
  file_commands_test.cpp
  recording_file_test.cpp
  recording_test.cpp)
