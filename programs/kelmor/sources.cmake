# The kelmor program's own code.
kelmor_sources(KELMOR_PROGRAM_SOURCES
  face.cpp
  main.cpp)
# The window, dialog, clipboard and message box seams, forwarded to the face module; the
# Windows program (programs/kelmor-win) forwards them the same way.
kelmor_sources(KELMOR_FORWARDER_SOURCES
  clipboard.cpp
  dialog.cpp
  main_window.cpp
  message_boxes.cpp
  window.cpp)
