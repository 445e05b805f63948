// The help pages as data: their file names, and the topics inside the contents page that
// the program opens by context id (the id is the topic's anchor, "topic-1064").
#pragma once

enum HelpPage { HELP_CONTENTS, HELP_SCRIPT_REFERENCE, HELP_REVISIONS, HELP_FAQ, HELP_PAGE_COUNT };
extern const char* const kHelpPageNames[HELP_PAGE_COUNT];

// The context id of each tab of the main panes, in tab order.
extern const int kPaneTabHelpContexts[4];
// The context id of each page of Advanced Options, in tab order.
extern const int kOptionsTabHelpContexts[5];
// Every context id that has a topic in the contents page: the pane tabs, the Advanced
// Options tabs and the help gadgets.
extern const int kHelpContexts[];
extern const int kHelpContextCount;

// The anchor of a context id's topic; returns its length.
int HelpAnchor(int contextId, char* out, int size);
