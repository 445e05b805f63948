// The tray icon's four pictures, drawn with cairo at the size the tray asks for.
#pragma once
#include <gtk/gtk.h>

// The picture of a state code (1000, 1006, 1003, 1004) as a new size x size pixbuf.
GdkPixbuf* TrayImage(int code, int size);
