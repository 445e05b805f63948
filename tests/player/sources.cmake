# The unit tests of player/, in kelmor_unit_tests.
kelmor_sources(KELMOR_PLAYER_TESTS
  playback_control_test.cpp
  player_test.cpp
  recorder_test.cpp
  reference_playback_test.cpp
  script_commands_test.cpp)
