// The user's controls of the keyboard service: the Activate box, the tray's Stop and
// Start items, and the report of hot keys another program holds.
#pragma once

// The Activate box was clicked: the next tick of the service timer follows it.
void OnActivateBox();
// Tray items Stop Keyboard Service and Start Keyboard Service.
void OnTrayServiceCommand(int id);
// Says once which Mapping hot keys another program holds, when that has changed.
void ReportBusyHotKeys();
// After any editor stored or deleted something: refreshes the service's cache, or says
// with notActiveText that no service took it.
void RefreshServiceAfterEdit(const char* notActiveText);
