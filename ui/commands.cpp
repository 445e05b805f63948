#include "ui/commands.h"

#include "platform/loop.h"

void SendCommand(int id) {
    CommandHandler handler = FindCommandHandler(id);
    if (handler != nullptr) handler(id);
}

void PostCommand(int id) { ShellPostCommand(id); }
