#include "tests/fakes/fakes.h"
#include "ui/commands.h"

namespace fake {

int RunPostedCommands() {
    int ran = 0;
    while (!postedCommands.empty()) {
        int id = postedCommands.front();
        postedCommands.pop_front();
        SendCommand(id);
        ++ran;
    }
    return ran;
}

}  // namespace fake
