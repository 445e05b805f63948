# The descriptions of the window, its dialogs and commands that both faces build (kelmor_core).
kelmor_sources(KELMOR_UI_SOURCES
  advanced_options_description.cpp
  command_state.cpp
  commands.cpp
  help_topics.cpp
  menu_description.cpp
  message_box.cpp
  pane_description.cpp
  pane_view.cpp
  platform_wording.cpp
  run_mode.cpp
  small_dialog_description.cpp
  tab_pages.cpp
  toolbar_description.cpp
  tray_icon.cpp)
