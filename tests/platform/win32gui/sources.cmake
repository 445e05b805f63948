# The Windows face's window parts that need no display.
kelmor_sources(KELMOR_WIN32GUI_TESTS
  menu_bar_test.cpp
  toolbar_test.cpp
  file_uri_test.cpp)
