// The recent-file list of the File menu, kept in the store values File1 to File8.
#pragma once

enum { ID_RESET_RECENT = 1068, ID_RECENT_FIRST = 1741, ID_RECENT_LAST = 1748 };

void AddRecentFile(const char* path);
void RemoveRecentFile(const char* path);
void RebuildRecentMenu(bool removeOld, bool addNew);
// Command handlers: open slot 1-8 (ids 1741-1748) and Reset Recent Files (1068).
void OnOpenRecentFile(int id);
void OnResetRecentFiles(int id);
