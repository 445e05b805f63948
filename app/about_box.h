// The About box (dialog 1031): version, build time and the web page's link, which is
// drawn in the visited colour once it has been opened; the logo opens it too.
#pragma once

void AboutProcedure(int dialog, int message, int control, int notification);
// The Help menu's About command.
void OnAbout(int id);
