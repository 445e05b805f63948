#include "ui/help_topics.h"

#include "settings/format.h"
#include "ui/advanced_options_description.h"
#include "ui/pane_description.h"

const char* const kHelpPageNames[HELP_PAGE_COUNT] = {"KelmorGuide.html", "KelmorScript.html",
                                                     "KelmorRevisions.html", "KelmorFAQ.html"};

const int kPaneTabHelpContexts[PANE_TAB_COUNT] = {1064, 1063, 1088, 1092};
const int kOptionsTabHelpContexts[OPTIONS_TAB_COUNT] = {1080, 1081, 1083, 1086, 1152};

const int kHelpContexts[] = {
    1064, 1063, 1088, 1092,        // Playback, Options, Keyboard, ShortType
    1080, 1081, 1083, 1086, 1152,  // Behavior, Display, Value Ranges, Log Settings, Mouse Coordinates
    IDC_GADGET_MAPPING_HELP, IDC_GADGET_SHORTTYPE_HELP,
};
const int kHelpContextCount = sizeof kHelpContexts / sizeof kHelpContexts[0];

int HelpAnchor(int contextId, char* out, int size) { return FormatText(out, size, "topic-%d", contextId); }
