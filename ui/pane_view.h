// The main window's panes as the rest of the program sets them: the status line and the
// playback pane's controls. The program's top registers the panes it shows; without
// them (a hidden playback, kelmorctl) the calls change nothing and the status reads empty.
#pragma once

struct PaneView {
    void (*setStatusText)(const char* text);
    int (*getStatusText)(char* out, int size);
    void (*setSpeedButtons)(int speed);  // the option buttons, 1-4
    void (*setRepeatField)(const char* text);
    void (*enableRepeatControls)(bool enable);
    void (*setContinuousBox)(bool checked);
    void (*focusSpeedButton)(int speed);
};

// The view the calls below go to; nullptr for none.
void SetPaneView(const PaneView* view);

void ViewSetStatusText(const char* text);
int ViewGetStatusText(char* out, int size);
void ViewSetSpeedButtons(int speed);
void ViewSetRepeatField(const char* text);
void ViewEnableRepeatControls(bool enable);
void ViewSetContinuousBox(bool checked);
void ViewFocusSpeedButton(int speed);
