// What the console shell needs from the program using it.
#pragma once

// Where posted commands go once the program's loop runs them. A program that posts
// commands (playback, recording) hands the command dispatch over here; one that never
// does keeps its link free of everything the dispatch reaches.
void ConsoleShellSetDispatcher(void (*dispatch)(int id));
