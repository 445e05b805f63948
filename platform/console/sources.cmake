# Message boxes on standard error, for kelmorctl.
kelmor_sources(KELMOR_CONSOLE_BOX_SOURCES message_box.cpp)
