// The command dispatch of the main window: every command id reaches its handler here.
#pragma once

typedef void (*CommandHandler)(int id);

// Runs the command now and returns when it is done (a synchronous window message);
// may be called from inside another command. Unknown ids do nothing.
void SendCommand(int id);
// Queues the command; it runs after the current one has returned.
void PostCommand(int id);
// The handler of an id, or nullptr. The command table at the top of the program
// (app/command_table.cpp) defines it; nothing here includes the table.
CommandHandler FindCommandHandler(int id);
