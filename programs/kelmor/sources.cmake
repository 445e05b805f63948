# The kelmor program's own code.
kelmor_sources(KELMOR_PROGRAM_SOURCES
  face.cpp
  main.cpp)
