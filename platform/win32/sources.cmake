# The Windows back ends, one library per file (cmake/windows.cmake), which every Windows
# program may link.
kelmor_sources(KELMOR_WIN32_SOURCES
  character_input.cpp
  clock.cpp
  desktop.cpp
  file.cpp
  input.cpp
  journal.cpp
  journal_playback.cpp
  journal_record.cpp
  key_typing.cpp
  keyboard_hook.cpp
  loop.cpp
  message_box.cpp
  module.cpp
  process.cpp
  registry.cpp
  shared_memory.cpp
  system.cpp)
# The system's message boxes for a program without the face (the probes); Kelmor.exe shows
# its boxes through the face.
kelmor_sources(KELMOR_WIN32_SHELL_BOX_SOURCES shell_message_box.cpp)
