#pragma once
// Database re-keying over files: the source read in place, the destination written from scratch.
#include <cstdint>

#include "framework/runtime/AnsiString.h"
#include "update/patch/DbbRekey.h"
#include "update/run/RunLog.h"

// Writes `destination` as `source` re-keyed from `oldKey` to `newKey` (0 = plain). The destination is
// deleted first; a failure logs its reason (index 26) and removes what was written of the destination,
// so a failed re-keying leaves no half-written database behind. Bytes after the last whole record are
// logged (index 0) and not copied. Windows build only.
bool RekeyDbbFiles(TRunLog &log, const AnsiString &source, const AnsiString &destination, uint32_t oldKey,
                   uint32_t newKey, const TRekeyProgress &progress);
