# Fakes of every seam, for tests, fuzzing and benchmarks.
kelmor_sources(KELMOR_FAKE_SOURCES
  fake_clipboard.cpp
  fake_clock_input_process.cpp
  fake_dialog.cpp
  fake_dispatch.cpp
  fake_journal_desktop.cpp
  fake_keyboard_hook.cpp
  fake_module.cpp
  fake_shared_memory.cpp
  fake_shell.cpp
  fake_store.cpp)
