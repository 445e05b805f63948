// The main window's commands, each id with its handler.
#pragma once

// Hands the table to the dispatch (ui/commands.h).
void RegisterCommandTable();
