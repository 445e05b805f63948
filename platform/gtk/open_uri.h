// Opening documents and addresses with the desktop's default handler (GIO's choice from
// the user's and the system's mimeapps.list: a file by its content type, an address by
// its scheme).
#pragma once

bool GtkOpenUri(const char* uri);
// A file opened with the default application for plain text, whatever its own type.
bool GtkOpenTextFile(const char* path);
