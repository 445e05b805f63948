#pragma once

// The file name part of a path, or "(Untitled)" for an empty one.
const char* GetDisplayName(const char* path);
