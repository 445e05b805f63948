// The program's version as its log lines, the About box and --version print it. It is
// set in one place, the project's version in CMake, and reaches every file from there.
#pragma once

#ifndef KELMOR_VERSION_TEXT
#error "KELMOR_VERSION_TEXT comes from the build (the project's version)"
#endif
