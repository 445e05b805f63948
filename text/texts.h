// Texts more than one folder shows.
#pragma once

// The name of a recording that has no file.
extern const char kUntitled[];
