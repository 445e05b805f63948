// The program's version as its log lines print it.
#pragma once

#define KELMOR_VERSION_TEXT "3.13"
