#include "text/texts.h"

const char kUntitled[] = "(Untitled)";
