#pragma once
// Lzma86 streams in files: unpacking one payload item into a file, and packing a file.
#include <cstdint>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "update/payload/Lzma86.h"

// Unpacks the stream at `offset` of `inName` into `outName` (created or replaced). Returns the
// unpacked size, 0 on failure; a failure leaves no output file behind. The progress callback (may be
// null) gets phase 0 with the unpacked size, then the bytes produced so far, the last report being
// the unpacked size.
uint64_t DecompressFileLzma86(const AnsiString &outName, const AnsiString &inName, uint64_t offset,
                              TLzmaProgressCallback callback, void *userData);
// The same for a stream held in memory: `size` bytes from `data` are all its input.
uint64_t DecompressMemoryLzma86(const AnsiString &outName, const uint8_t *data, size_t size,
                                TLzmaProgressCallback callback, void *userData);

// Packs `inName` into `outName` (level 9, 8 MB dictionary, no x86 filter). Returns the packed size,
// 0 on failure (and then no output file is left).
uint64_t CompressFileLzma86(const AnsiString &inName, const AnsiString &outName, TLzmaProgressCallback callback,
                            void *userData);

// The same packing into memory; empty on failure.
std::vector<uint8_t> CompressFileToMemory(const AnsiString &inName, TLzmaProgressCallback callback, void *userData);

// The unpacked size from the header of the stream at `offset`; 0 when it cannot be read.
uint64_t GetLzma86UnpackSize(const AnsiString &fileName, uint64_t offset);
