# Recordings in memory and in files (kelmor_core).
kelmor_sources(KELMOR_RECORDING_SOURCES
  current_file.cpp
  display_name.cpp
  executable_recording.cpp
  file_commands.cpp
  message_names.cpp
  recent_file_commands.cpp
  recording.cpp
  recording_file.cpp
  save_file.cpp
  start_program.cpp)
