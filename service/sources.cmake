# The keyboard service: compiled into its module (programs/service) and, for the tests and
# benchmarks, a library of its own; the programs' core does not include it.
kelmor_sources(KELMOR_SERVICE_SOURCES
  keyboard_proc.cpp
  service_actions.cpp
  service_data.cpp)
