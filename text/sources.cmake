# Texts, numbers and command lines (kelmor_core).
kelmor_sources(KELMOR_TEXT_SOURCES
  command_line.cpp
  no_case.cpp
  numbers.cpp
  texts.cpp
  utf8.cpp)
