// The Kelmor processes of this user on this desktop that play back or record now. Every
// keyboard service rests while one does, whichever process it is: its Mappings would take
// the played keys, its ShortTypes would expand what is played, and a recording would keep
// what the service typed.
#pragma once

// Marks this process as playing back or recording (busy), or no longer.
void MarkJournalBusy(bool busy);
// Whether another running process is marked busy.
bool AnotherProcessBusy();
// Forgets the table (for a fresh start); a mark this process left is cleared first.
void ResetBusyProcesses();
