#pragma once
// The journal of an updater run as a test watches it from outside while the run goes on: how far the
// run has come, and whether it had finished its changes when it was stopped. Windows build only.
#include "framework/runtime/AnsiString.h"

// Whether the journal's last command line is the end command: the run had finished its changes.
bool JournalEnded(const AnsiString &fileName);

// The command lines the journal holds now (0 when there is none). Read through a handle that lets the
// updater go on writing and delete the file.
int JournalCommands(const AnsiString &fileName);

// Waits until the run has journaled `count` command lines, or has deleted its journal after finishing.
// The moments kills are aimed at: they follow the run's progress whatever the machine's speed.
bool WaitForJournalCommands(const AnsiString &fileName, int count, int timeout);
