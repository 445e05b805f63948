# The settings store, its backups and the log (kelmor_core).
kelmor_sources(KELMOR_SETTINGS_SOURCES
  format.cpp
  log.cpp
  recent_files.cpp
  service_store.cpp
  settings.cpp
  settings_backup.cpp
  settings_restore.cpp)
