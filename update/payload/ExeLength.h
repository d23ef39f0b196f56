#pragma once
// Where the executable image of a PE file (PE32 or PE32+) ends: the first section's file offset plus
// the raw sizes of the sections. What follows is not part of the image (the updater's payload).
#include <cstdint>

#include "update/payload/ByteSource.h"
#include "update/run/RunLog.h"

// Returns the image length, 0 when the file is shorter than 4 bytes or its headers cannot be read;
// `fileSize` receives the file's size. A header that cannot be read is logged (index 26) when a log
// is given.
uint64_t GetRealExeLength(TByteSource &source, uint64_t &fileSize, TRunLog *log);
