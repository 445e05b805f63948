# The unit tests of settings/, in kelmor_unit_tests.
kelmor_sources(KELMOR_SETTINGS_TESTS
  log_test.cpp
  recent_files_test.cpp
  settings_backup_test.cpp
  settings_restore_test.cpp
  settings_test.cpp)
