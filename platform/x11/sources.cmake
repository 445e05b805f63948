# The X11 back end: input capture and injection, the journal hooks, window search.
kelmor_sources(KELMOR_X11_SOURCES
  clipboard.cpp
  desktop.cpp
  display.cpp
  input.cpp
  journal.cpp
  journal_playback.cpp
  key_choice.cpp
  key_event_character.cpp
  keyboard_hook.cpp
  keymap.cpp
  record_hook.cpp
  record_stream.cpp
  server_hold.cpp
  spare_keys.cpp
  typing.cpp)
