# The Wayland playback module.
kelmor_sources(KELMOR_WAYLAND_SOURCES
  connection.cpp
  entry.cpp
  keyboard.cpp
  made_keymap.cpp
  pointer.cpp
  toplevels.cpp)
# The choice of the Wayland module at run time, part of the X11 back end (kelmor_x11).
kelmor_sources(KELMOR_WAYLAND_CHOICE_SOURCES choice.cpp)
