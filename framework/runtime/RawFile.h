#pragma once
// A bare system file handle for callers that choose the system's access, disposition, sharing and
// hint themselves. A failing call returns false (or the invalid handle) and leaves the reason as the
// thread's last system error.
#include <cstdint>

#include "framework/runtime/AnsiString.h"

using RawFileHandle = void *;
extern const RawFileHandle InvalidRawFile;

enum class RawFileAccess { Read, Write, ReadWrite };
// CreateNew fails when the file exists.
enum class RawFileCreation { OpenExisting, CreateAlways, CreateNew };
// What other openers may do while the handle is open (None: nothing, not even open or delete it).
enum class RawFileShare { ReadWrite, ReadOnly, None };

// `sequentialScan` adds the system's sequential-scan hint; no other flag or attribute is set.
RawFileHandle RawFileOpen(const AnsiString &name, RawFileAccess access, RawFileCreation creation, bool sequentialScan,
                          RawFileShare share = RawFileShare::ReadWrite);
bool RawFileRead(RawFileHandle file, void *buffer, uint32_t n, uint32_t &done);
bool RawFileWrite(RawFileHandle file, const void *buffer, uint32_t n, uint32_t &done);
// Origin 0 start, 1 current position, 2 end; `position` receives the new position.
bool RawFileSeek(RawFileHandle file, int64_t distance, int origin, uint64_t &position);
// The file's size in bytes.
bool RawFileSize(RawFileHandle file, uint64_t &size);
// Writes the system's buffers of the file to the disk.
bool RawFileFlush(RawFileHandle file);
// Makes the file end at the handle's position, dropping every byte from there on.
bool RawFileSetEnd(RawFileHandle file);
void RawFileClose(RawFileHandle file);
