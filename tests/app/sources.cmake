# The unit tests of app/, in kelmor_unit_tests.
kelmor_sources(KELMOR_APP_TESTS
  advanced_options_test.cpp
  backup_commands_test.cpp
  exit_step_test.cpp
  help_commands_test.cpp
  mapping_editor_test.cpp
  mouse_coordinates_test.cpp
  pane_procedure_test.cpp
  program_state_test.cpp
  shorttype_editor_test.cpp
  small_dialogs_test.cpp
  startup_test.cpp
  tool_commands_test.cpp
  tray_test.cpp
  window_options_test.cpp)
