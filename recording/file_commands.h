// The File and Tools commands on recordings.
#pragma once

void OnNew(int id);
void OnOpen(int id);
void OnReloadCurrentFile(int id);
void OnClose(int id);
void OnSaveAs(int id);
void OnEditScriptFile(int id);
void OnDisplayNumberOfActions(int id);
