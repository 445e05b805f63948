# kelmorctl, the same sources on Linux and Windows.
kelmor_sources(KELMORCTL_SOURCES
  backup_command.cpp
  exe_command.cpp
  main.cpp
  options.cpp
  play_command.cpp
  record_command.cpp
  recording_commands.cpp
  restore_command.cpp
  system_differences.cpp)
