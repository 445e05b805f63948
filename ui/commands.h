// The command dispatch of the main window: every command id reaches its handler here.
#pragma once

typedef void (*CommandHandler)(int id);

// Runs the command now and returns when it is done (a synchronous window message);
// may be called from inside another command. Unknown ids do nothing.
void SendCommand(int id);
// Queues the command; it runs after the current one has returned.
void PostCommand(int id);
// One row of the command table: the ids first..last go to handler.
struct CommandRow {
    int first;
    int last;
    CommandHandler handler;
};
// The table the dispatch reads, registered by the top of the program
// (app/command_table.cpp); nothing here includes it. Without one no command runs.
void SetCommandTable(const CommandRow* rows, int count);
// The handler of an id, or nullptr.
CommandHandler FindCommandHandler(int id);
