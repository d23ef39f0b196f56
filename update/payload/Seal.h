#pragma once
// The seal at the end of the updater's file: u32 file size and u32 (additive checksum of everything
// before the seal + file size).
#include "update/payload/ByteSource.h"

// True when the last 8 bytes hold the file's own size and the matching checksum.
bool CheckSelf(TByteSource &source);
// Appends the seal. False when the sealed size would not fit in 32 bits or a write fails.
bool SealStream(TByteStore &store);
// Removes the last 8 bytes (the seal).
void StripStreamSeal(TByteStore &store);
