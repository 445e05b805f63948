// Seam: dialogs and their controls, addressed by numeric ids - the dialog by the id of
// its description, each control by its own id. The dialog procedures live in the core
// and act only through these calls; a back end builds the dialog from its description.
#pragma once
#include <cstdint>

// What a control is; the back end picks the widget.
enum ControlKind : uint8_t {
    CONTROL_STATIC,      // a label
    CONTROL_BUTTON,      // a push button
    CONTROL_CHECK_BOX,
    CONTROL_OPTION,      // a radio button; CONTROL_GROUP starts its group
    CONTROL_EDIT,        // a one-line text field
    CONTROL_SPIN,        // up/down arrows of the edit field placed before it
    CONTROL_LIST,        // a list box
    CONTROL_COMBO,       // a drop-down list
    CONTROL_TABS,        // a tab strip; its pages are list items (add, select, selection)
    CONTROL_PICTURE,     // an image: logo, gadget face; reports clicks
    CONTROL_LINK,        // an underlined text reporting clicks; checked, it is drawn as visited
    CONTROL_FRAME,       // a blank area behind other controls
    CONTROL_GADGET,      // a small picture button with its text as tool tip; a release over it is a click
    // A vertical slider of positions 0 (top) to 3; its text names the marks, one line each
    // from the top. Moved by a person, it reports NOTIFY_CHANGED.
    CONTROL_SLIDER,
};

// Control flags.
enum : uint16_t {
    CONTROL_GROUP = 1 << 0,      // starts a group of option buttons
    CONTROL_NUMBER = 1 << 1,     // digits only
    CONTROL_RIGHT = 1 << 2,      // right-aligned text; a button at the right of its cell
    CONTROL_CENTER = 1 << 3,     // centred text
    CONTROL_BOLD = 1 << 4,       // bold text
    CONTROL_DEFAULT = 1 << 5,    // the default push button
    // A scrolled text of several lines: read-only on a CONTROL_STATIC; on a CONTROL_EDIT a
    // field Enter makes a new line in (Tab still moves on). Its lines end in '\n'.
    CONTROL_MULTILINE = 1 << 6,
    // A drop-down list with an edit field, whose text DialogSetText/DialogGetText address.
    // The procedure edits that text itself: the field reports each key pressed in it
    // (NOTIFY_KEY) and each character typed (NOTIFY_CHAR; Backspace as '\b', Delete as
    // 0x7F) and changes nothing by itself; the caret and selection move as in any field.
    CONTROL_ENTRY = 1 << 7,
    // With CONTROL_ENTRY: every key goes to the procedure, Tab, Enter, Esc and Ctrl+Page
    // Down included, but for Ctrl+Tab and Ctrl+Shift+Tab, which move the focus to the next
    // and previous control as they do out of every field that takes Tab. Without it keys
    // other than characters, Backspace and Delete keep their usual work.
    CONTROL_ALL_KEYS = 1 << 8,
};

// Where a control sits. Positions are in dialog units when the description gives them;
// otherwise (w and h 0) the back end lays controls out in rows: `row` counts from the top
// of the dialog or page, `column` from the left, and equal rows share a line.
struct ControlPlace {
    int16_t x, y, w, h;
    uint8_t row, column;
};

struct ControlDescription {
    uint16_t id;
    ControlKind kind;
    uint16_t flags;
    // Bit n set: the control belongs to page n of the dialog's tab strip (shown only while
    // that page is selected); 0: always shown.
    uint8_t pages;
    const char* text;  // label, button text or initial text; may be empty
    ControlPlace place;
};

// A control's tool tip. It is also the control's name to assistive technologies (screen
// readers) where no label before it names it: a field without a label, a "..." button.
struct ControlTip {
    uint16_t id;
    const char* text;
};

struct DialogDescription {
    uint16_t id;
    const char* caption;  // empty for a child dialog without caption
    int16_t width, height;  // dialog units; 0 0 lets the back end size it to fit
    const ControlDescription* controls;
    int controlCount;
    const ControlTip* tips;  // may be nullptr
    int tipCount;
};

// What a dialog procedure is told.
enum DialogMessage {
    DIALOG_INIT,     // the controls exist; set their values
    DIALOG_COMMAND,  // control `control` reports `notification`
};
// Notifications of DIALOG_COMMAND.
enum DialogNotification {
    NOTIFY_CLICKED = 0,    // a button, check box or option button was pressed
    NOTIFY_CHANGED = 1,    // an edit field's text or a list's or tab strip's selection changed
    NOTIFY_SPIN_UP = 2,    // the up arrow of a spin control
    NOTIFY_SPIN_DOWN = 3,  // its down arrow
    NOTIFY_OTHER = 4,      // any other notice of an edit field (focus in or out)
    // While a control holds the pointer (DialogCapturePointer): it moved anywhere on the
    // screen / the left button was released, or the hold was lost (another program took
    // the pointer, the window went away), which ends it as a release does.
    NOTIFY_POINTER_MOVED = 5,
    NOTIFY_POINTER_RELEASED = 6,
    NOTIFY_KEY = 0x100,    // plus a virtual-key code: that key went down in a CONTROL_ENTRY field
    NOTIFY_CHAR = 0x200,   // plus a character's byte: it was typed into a CONTROL_ENTRY field
};
// The core's half of a dialog. For DIALOG_INIT control and notification are 0.
typedef void (*DialogProc)(int dialog, int message, int control, int notification);

// Shows the dialog modally and returns the result given to DialogEnd, or -1 when the
// dialog cannot be shown.
int DialogRun(const DialogDescription* description, DialogProc proc);
// Creates the dialog as the main window's child and returns at once; false on failure.
bool DialogCreate(const DialogDescription* description, DialogProc proc);
// Whether a dialog of this id is open (made by DialogCreate, or running).
bool DialogIsOpen(int dialog);
// Closes a modal dialog once the current call of its procedure returns.
void DialogEnd(int dialog, int result);

void DialogSetText(int dialog, int control, const char* text);
// Copies the text (at most size - 1 bytes and a NUL); returns its length as copied.
int DialogGetText(int dialog, int control, char* out, int size);
void DialogCheck(int dialog, int control, bool checked);
bool DialogIsChecked(int dialog, int control);
void DialogEnable(int dialog, int control, bool enabled);
void DialogShow(int dialog, int control, bool shown);
void DialogFocus(int dialog, int control);
// The control of the dialog that has the keyboard focus; 0 when none of its controls has.
int DialogGetFocus(int dialog);
// The selection of an edit field or of a drop-down list's field, in characters from the
// start; start == end is the caret with nothing selected.
void DialogGetSelection(int dialog, int control, int* start, int* end);
void DialogSetSelection(int dialog, int control, int start, int end);

// Lists, drop-down lists and tab strips: items counted from 0.
int DialogListAdd(int dialog, int control, const char* text);  // the new item's index, -1 on failure
bool DialogListRemove(int dialog, int control, int index);
void DialogListSelect(int dialog, int control, int index);  // -1 selects nothing
int DialogListSelection(int dialog, int control);           // -1 when nothing is selected
int DialogListCount(int dialog, int control);
int DialogListGetText(int dialog, int control, int index, char* out, int size);
// Lets a drop-down list open wider than itself, so that its longest entry shows whole: at
// least a run of "X" three longer than that entry in the list's font, a scroll bar and 6
// pixels, but never more than limit pixels for that reason. Call it after filling the list.
void DialogFitDropDown(int dialog, int control, int limit);
// The picture of a picture or gadget control: one of the program's bitmap resources
// (ui/icon_ids.h). A bitmap the back end cannot draw leaves the control blank.
void DialogSetImage(int dialog, int control, int bitmapId);
// A slider's position (0 at the top); 0 for a control that is none.
void DialogSetPosition(int dialog, int control, int position);
int DialogGetPosition(int dialog, int control);
// Gives the pointer to a control (a picture pressed by a person): every motion on the
// screen reports NOTIFY_POINTER_MOVED and the left button's release NOTIFY_POINTER_RELEASED
// to its dialog, under the cross cursor. false gives the pointer back.
void DialogCapturePointer(int dialog, int control, bool capture);
