// The recent-file list of the File menu, kept in the store values File1 to File8.
#pragma once

enum { ID_RESET_RECENT = 1068, ID_RECENT_FIRST = 1741, ID_RECENT_LAST = 1748 };

void AddRecentFile(const char* path);
void RemoveRecentFile(const char* path);
void RebuildRecentMenu(bool removeOld, bool addNew);
// Slot n (1-8) into path (RECENT_PATH_SIZE bytes); empty when the slot is, or n is out of range.
enum { RECENT_PATH_SIZE = 256 };
void GetRecentFile(int n, char* path);
// Empties every slot and takes its menu item away.
void ResetRecentFiles();
