#pragma once
// The texts of the journal commands that rollback undoes, taken apart: a backup (code 6) names the
// file it saved and where the copy lies, a created entry (code 9) names what the run made.
#include <cstdint>
#include <vector>

#include "framework/runtime/AnsiString.h"

struct TBackupCommand {
    AnsiString Target;  // the file that was saved, to be copied back
    AnsiString Backup;  // the saved copy
    uint32_t Checksum = 0;
    uint32_t Size = 0;
};

// Text of code 6: target + "<" + backup + ten checksum digits + ten size digits. False when the text
// is shorter than its twenty digits, they are not all digits, a number is above 32 bits, or there is
// no "<".
bool ParseBackupCommand(const AnsiString &text, TBackupCommand &command);

// Whether a backup read back from the disk is the one its command 6 saved: the sums are equal and so
// are the sizes in their low 32 bits, the width the journal keeps them in (a file of 4 GB or more is
// journaled with its size less a multiple of 4 GB).
bool BackupAsJournaled(uint32_t sum, uint64_t size, uint32_t journaledSum, uint32_t journaledSize);

// Text of code 9: anything up to the first "<", the created name, twenty digits. False when the
// digits or the "<" are missing.
bool ParseCreatedCommand(const AnsiString &text, AnsiString &name);

// A name rollback may delete: an absolute path with a drive ("C:\...") or a network path ("\\srv\...").
// A relative name (older journals wrote the marker "PA" for a file that did not exist) would be taken
// against whatever folder is current, so it names nothing to delete.
bool IsAbsolutePath(const AnsiString &name);

// Whether a folder is the root of a drive ("Q:", "Q:\") or of a network share ("\\srv\share", or
// "\\srv" alone). No run makes one, so none is ever journaled or removed as a folder the run made.
bool IsDriveOrShareRoot(const AnsiString &folder);

// Whether a journal (its lines, oldest first) is that of a run that finished: its newest command line
// is well signed and is the end command, so nothing it records is to be undone. `tempFolder` then
// names the run's temporary folder (its newest well-signed command 8), empty when it journaled none;
// `rolledBack` tells that a rollback gave the journal its end: the command right before the end is
// the variant command with RolledBackVariantText, and the installation is the one the run started from.
bool FinishedRunJournal(const std::vector<AnsiString> &lines, AnsiString &tempFolder, bool &rolledBack);
