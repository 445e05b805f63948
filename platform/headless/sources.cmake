# A program without a main window, one library each.
# What every windowless loop hands over (this loop's and platform/win32/loop.cpp's).
kelmor_sources(KELMOR_HEADLESS_HAND_OVER_SOURCES hand_over.cpp)
# GLib's loop (Linux).
kelmor_sources(KELMOR_HEADLESS_LOOP_SOURCES loop.cpp)
# No window, dialogs, file dialogs or clipboard: kelmorctl and the probes. The kelmor
# programs forward these seams to their face instead (programs/kelmor).
kelmor_sources(KELMOR_HEADLESS_SHELL_SOURCES
  clipboard.cpp
  dialog.cpp
  file_dialog.cpp
  window.cpp)
