# The Windows face: the main window, the dialogs built from the descriptions of ui/, the
# boxes and the pictures (pictures.rc, compiled into each program that links the face).
kelmor_sources(KELMOR_WIN32GUI_SOURCES
  boxes.cpp
  dialog.cpp
  dialog_build.cpp
  dialog_controls.cpp
  dialog_input.cpp
  face.cpp
  file_uri.cpp
  main_window.cpp
  menu_bar.cpp
  pictures.cpp
  toolbar.cpp
  tray_icon.cpp)
