// The File and Tools commands on recordings.
#pragma once

void OnNew(int id);
void OnOpen(int id);
void OnReloadCurrentFile(int id);
void OnClose(int id);
void OnSaveAs(int id);
void OnEditScriptFile(int id);
void OnDisplayNumberOfActions(int id);
// Opens a file (at most MAX_PATH - 1 bytes) in the Editor setting's program, the
// desktop's default handler when none is set; the "Edit Error" box when it cannot start.
void EditFile(const char* path);

// Save As writes no executable program (Create Executable does): says so and returns
// true when name asks for one.
bool RefuseExecutableSaveName(const char* name);

// Asks "Save changes to %s?" when the recording has unsaved events and PromptForSave is
// on; Yes runs Save As. Returns false when the recording must stay: the user cancelled,
// or chose Yes and the recording was not saved.
bool AskToSaveChanges();
