# Tests of the X11 back end, each against a private Xvfb.
kelmor_sources(KELMOR_X11_TESTS
  clipboard_test.cpp
  desktop_test.cpp
  display_test.cpp
  input_test.cpp
  journal_playback_test.cpp
  key_choice_test.cpp
  keyboard_hook_test.cpp
  keymap_test.cpp
  record_hook_test.cpp
  typing_test.cpp)
