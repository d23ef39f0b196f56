#pragma once
// The additive checksum of files and open streams (see Checksum.h).
#include <cstdint>

#include "framework/runtime/AnsiString.h"
#include "framework/runtime/Classes.h"

// A file's size and checksum as ChecksumFile gives them.
struct TFileSum {
    uint32_t Sum = 0;
    uint64_t Size = 0;
};

// Over the whole file; `size` receives the file's size. False when the file cannot be opened or read.
bool ChecksumFile(const AnsiString &fileName, uint32_t &sum, uint64_t &size);
// Over [start, start + length) of the file.
bool ChecksumFilePart(const AnsiString &fileName, uint64_t start, uint64_t length, uint32_t &sum);
// From `start` to the end of an open file; `size` receives the file's size less `start`.
bool ChecksumFileHandle(TStream &file, uint64_t start, uint32_t &sum, uint64_t &size);
