# Tests of the GTK face's parts that need no display.
kelmor_sources(KELMOR_GTK_TESTS
  control_shadow_test.cpp)
# Tests of the GTK face against a private Xvfb.
kelmor_sources(KELMOR_GTK_X11_TESTS
  clipboard_test.cpp)
