# The Wayland back end's decisions, without a compositor.
kelmor_sources(KELMOR_WAYLAND_TESTS
  made_keymap_test.cpp
  choice_test.cpp)
