// What the GTK dialogs keep of each open dialog and control, shared by the files that
// build them (dialog_build.cpp) and those that act on them (dialog.cpp, dialog_controls.cpp,
// dialog_input.cpp). In a namespace of their own: GTK's names already take the Gtk prefix.
#pragma once
#include <gtk/gtk.h>

#include <vector>

#include "platform/dialog.h"
#include "platform/gtk/control_shadow.h"

namespace gtkdialogs {

struct Control {
    int id;
    ControlKind kind;
    uint16_t flags;
    std::vector<GtkWidget*> widgets;
    int labelledPages = 0;     // tab strips: the pages named so far by DialogListAdd
    unsigned pages = 0;        // the tab pages it sits on
    unsigned unmadePages = 0;  // those whose widget of it is not made yet
    ControlShadow shadow;      // what those widgets are to take on when they are made
};

struct Dialog {
    int id;
    DialogProc proc;
    std::vector<Control> controls;
    GtkWidget* top = nullptr;   // the dialog window, or the child dialog's own box
    GMainLoop* loop = nullptr;  // while a modal dialog runs
    int result = -1;
    const DialogDescription* description = nullptr;
    GtkWidget* notebook = nullptr;
    std::vector<GtkWidget*> pages;  // the tab strip's pages
    unsigned unmadePages = 0;       // the pages whose controls are not made yet
    guint making = 0;               // the idle source making them
};

// The open dialogs: the panes and the modal dialogs opened one from another (dialog.cpp).
extern std::vector<Dialog*> gDialogs;
// Set while the core changes a control: like the controls it was written for, a change
// made by the program is not reported back as a person's.
extern int gQuiet;

struct Quiet {
    Quiet() { ++gQuiet; }
    ~Quiet() { --gQuiet; }
};

Dialog* FindDialog(int dialog);
Control* FindControl(int dialog, int control);

// What the signal handlers need to tell the core.
struct Source {
    int dialog;
    int control;
    int notification;
};

// Tells the dialog's procedure, unless the program itself is changing a control.
void Notify(const Source* source);
// A source the widget owns: it goes when the widget does.
Source* NewSource(GtkWidget* widget, int dialog, int control, int notification);
// For the signals that report no more than that a person acted on the control.
void OnClicked(GtkWidget*, gpointer data);

// Builds the dialog's widgets into a box and adds it to the open dialogs
// (dialog_build.cpp). With laterPages, the tab pages are left empty: MakePage fills them.
Dialog* Build(const DialogDescription* description, DialogProc proc, bool laterPages = false);
// Makes the controls of a page left empty, and gives them what was set on them since.
void MakePage(Dialog* d, int page);
// The control, with the widgets of all its pages made: for the calls that need a widget.
Control* FindMadeControl(int dialog, int control);
// A page of a tab strip, or the dialog's own: placed by position or a grid.
GtkWidget* NewPage(bool positioned);
GtkTextBuffer* MultilineBuffer(GtkWidget* w);
GtkWidget* FocusTarget(GtkWidget* w);

// Pictures, gadgets, the pointer hold and entry fields (dialog_input.cpp).
GtkWidget* NewPicture(const ControlDescription& c, int dialog);
GtkWidget* NewGadget(const ControlDescription& c, int dialog);
void OnEntryInsert(GtkEditable* entry, gchar*, gint, gint*, gpointer);
void OnEntryDelete(GtkEditable* entry, gint, gint, gpointer);
gboolean OnWindowKeyPress(GtkWidget* window, GdkEventKey* event, gpointer);

}  // namespace gtkdialogs
