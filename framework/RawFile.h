#pragma once
// A bare system file handle for callers that choose the system's access, disposition and hint
// themselves. Files are always opened shared for reading and writing with other openers. A failing
// call returns false (or the invalid handle) and leaves the reason as the thread's last system error.
#include <cstdint>

#include "framework/AnsiString.h"

using RawFileHandle = void *;
extern const RawFileHandle InvalidRawFile;

enum class RawFileAccess { Read, Write, ReadWrite };
enum class RawFileCreation { OpenExisting, CreateAlways };

// `sequentialScan` adds the system's sequential-scan hint; no other flag or attribute is set.
RawFileHandle RawFileOpen(const AnsiString &name, RawFileAccess access, RawFileCreation creation,
                          bool sequentialScan);
bool RawFileRead(RawFileHandle file, void *buffer, uint32_t n, uint32_t &done);
bool RawFileWrite(RawFileHandle file, const void *buffer, uint32_t n, uint32_t &done);
// Origin 0 start, 1 current position, 2 end; `position` receives the new position.
bool RawFileSeek(RawFileHandle file, int64_t distance, int origin, uint64_t &position);
void RawFileClose(RawFileHandle file);
