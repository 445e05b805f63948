// The Mouse Coordinates tool of the Advanced Options dialog: a person presses its picture,
// drags the pointer over any window and lets go; the tool shows the window's title and the
// point, and can put a GOTO/CLICK script template for that point on the clipboard.
#pragma once

// The picture pressed (NOTIFY_CLICKED), the pointer moved while the picture holds it
// (NOTIFY_POINTER_MOVED), the button released or the hold lost (NOTIFY_POINTER_RELEASED).
void MouseToolPressed(int dialog);
void MouseToolMoved(int dialog);
void MouseToolReleased(int dialog);

// The result text for a window's title, the point relative to the window's top-left
// corner and the point on the screen; returns its length (cut to size - 1).
int MouseResultText(const char* title, int offsetX, int offsetY, int screenX, int screenY, char* out, int size);
// The clipboard's script template made from a result text: "GOTO <title>", CR LF,
// "CLICK <offsets>", CR LF. False (out unspecified) for a text without a double quote,
// with two in a row, or whose template does not fit.
bool MouseScriptTemplate(const char* result, char* out, int size);
