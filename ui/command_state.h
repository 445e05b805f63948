// The three command states of menus and toolbar.
#pragma once

enum CommandState { CMD_STATE_EMPTY = 0, CMD_STATE_IDLE = 1, CMD_STATE_BUSY = 2 };

void SetCommandState(int state);
