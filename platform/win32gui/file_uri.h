// A page's file URI as the Windows shell takes it: a local path.
#pragma once

// The local path of a "file:" URI ("file:///C:/a%20b/c.html#topic" gives "C:\a b\c.html"):
// escapes decoded, slashes turned, the fragment left off. False, with out empty, for any
// other URI or a path that does not fit size - 1 bytes.
bool Win32PathOfFileUri(const char* uri, char* out, int size);
