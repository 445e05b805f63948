// The File menu's recent-file commands; the list itself is settings/recent_files.h.
#pragma once

// Command handlers: open slot 1-8 (ids 1741-1748) and Reset Recent Files (1068).
void OnOpenRecentFile(int id);
void OnResetRecentFiles(int id);
