# The window, dialog, clipboard and message box seams, forwarded to the program's face:
# the GTK module kelmor loads (programs/kelmor), the face linked into Kelmor.exe
# (programs/kelmor-win). Both programs compile them, in place of the windowless ones.
kelmor_sources(KELMOR_FORWARDER_SOURCES
  clipboard.cpp
  dialog.cpp
  main_window.cpp
  message_boxes.cpp
  window.cpp)
