# Playing and recording (kelmor_core).
kelmor_sources(KELMOR_PLAYER_SOURCES
  journal_state.cpp
  playback_control.cpp
  player.cpp
  player_state.cpp
  recorder.cpp
  script_commands.cpp)
