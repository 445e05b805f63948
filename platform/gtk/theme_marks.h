// The check and option marks of the default theme, taken from its bitmap copies.
#pragma once

// Call once after GTK is initialised.
void UseBitmapThemeMarks();
