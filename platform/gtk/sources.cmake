# The GTK face, a module of the kelmor program (programs/kelmor).
kelmor_sources(KELMOR_GTK_SOURCES
  clipboard.cpp
  dialog.cpp
  display_lost.cpp
  drawing.cpp
  drop_down.cpp
  face.cpp
  file_dialog.cpp
  key_focus.cpp
  main_window.cpp
  message_box.cpp
  open_uri.cpp
  pictures.cpp
  theme_marks.cpp
  toolbar_images.cpp
  tray_icon.cpp
  tray_images.cpp)
