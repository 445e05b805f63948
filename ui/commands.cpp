#include "ui/commands.h"

#include "platform/loop.h"

namespace {

const CommandRow* gRows = nullptr;
int gRowCount = 0;

}  // namespace

void SetCommandTable(const CommandRow* rows, int count) {
    gRows = rows;
    gRowCount = rows != nullptr ? count : 0;
}

CommandHandler FindCommandHandler(int id) {
    for (int i = 0; i < gRowCount; ++i) {
        if (id >= gRows[i].first && id <= gRows[i].last) return gRows[i].handler;
    }
    return nullptr;
}

void SendCommand(int id) {
    CommandHandler handler = FindCommandHandler(id);
    if (handler != nullptr) handler(id);
}

void PostCommand(int id) { ShellPostCommand(id); }
