#pragma once
// The copy with progress under the journaled copy (update/JournaledCopy_win.cpp).
#include "framework/runtime/AnsiString.h"

class TProgressPace;

// Copies `source` to `destination` in ten pieces with a progress step each (a file under ten bytes in
// one), creating the destination's folder when missing. An existing destination fails the copy with
// `failIfExists`, otherwise it is replaced. With `flush` the destination's bytes are written through
// to the disk before it is closed (a backup that rollback may need after a power loss). False when
// anything fails.
bool CopyStreamProgress(const AnsiString &source, const AnsiString &destination, TProgressPace &progress,
                        bool failIfExists, bool flush = false);
