// The Help menu's pages and addresses, opened with the desktop's default handler: the
// help pages beside the program, the support mail and the project's web page.
#pragma once

// The project's web page (the About box's link) and its support mailbox.
extern const char kWebPageAddress[];
extern const char kSupportMailAddress[];

// Where a help page lives for a program file: in "help" beside the program (the build
// folder, and every Windows path), or, for a POSIX program in a "bin" folder, in
// "share/kelmor/help" beside that folder (an installation). Returns the length, or 0 when
// the path does not fit in size. A page missing there is looked for beside the program.
int HelpPagePath(const char* programPath, const char* page, char* out, int size);
// The file URI of a path, with "#anchor" behind it when anchor is not empty; every
// backslash becomes a slash and bytes that would change the URI's meaning are escaped.
// Returns the length, or 0 when it does not fit in size.
int FileUri(const char* path, const char* anchor, char* out, int size);

// Opens the contents page at the topic of a context id (0: at its top); a page that is
// missing or cannot be opened is said with the page's path.
void OpenHelpTopic(int contextId);
// Opens the web page; says so when it cannot. True when it opened.
bool OpenWebPage();

// Command handlers: 1149, 1150, 1087, 1133, 1134, 1089, 1082.
void OnHelpContents(int id);
void OnHelpForThisScreen(int id);
void OnHelpPage(int id);
void OnSupportMail(int id);
void OnWebPage(int id);
