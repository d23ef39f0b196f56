#pragma once
// The patch applier over files: the old file, the patch and the new file as whole memory mappings.
#include <functional>

#include "framework/runtime/AnsiString.h"
#include "update/run/RunLog.h"

// Progress of one apply: `position` of `maximum` (3) steps done.
using TPatchProgress = std::function<void(int position, int maximum)>;

// Builds `outName` from `oldName` and the patch `patchName`. Logs only its failures (index 26 with the
// reason; a file that cannot be opened or created adds its name as a line of index 0). The whole patch
// is checked before the output is created, and a failure after that removes the output again, so a
// failed apply leaves no half-built file. Windows build only.
bool ApplyPatchFiles(TRunLog &log, const AnsiString &oldName, const AnsiString &outName, const AnsiString &patchName,
                     const TPatchProgress &progress);
