# The unit tests of ui/, in kelmor_unit_tests.
kelmor_sources(KELMOR_UI_TESTS
  command_state_test.cpp
  help_topics_test.cpp
  menu_description_test.cpp
  pane_description_test.cpp
  platform_wording_test.cpp)
