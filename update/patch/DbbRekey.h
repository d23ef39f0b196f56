#pragma once
// Re-keying of a scrambled database file: copies a compound file while removing one key's scrambling
// and applying another's (key 0 = plain). Works over a reader and a writer, so it runs the same on
// files and on bytes in memory.
//
// The walk takes every physical record from the data area's start (8 + 8 x file count) to the end of
// the file, deleted records, end records and dead space alike, and writes each at its own position,
// so the output has the source's layout whatever order its logical files were committed in.
#include <cstdint>
#include <functional>

#include "framework/runtime/AnsiString.h"
#include "update/payload/ByteSource.h"

enum class RekeyFault : uint8_t {
    None,
    NoHeader,       // shorter than the 8-byte header
    DirectoryCut,   // the directory runs past the end of the file
    RecordTooLong,  // a record's length field is above MaxRecordLength
    RecordCut,      // a record's data runs past the end of the file
    ReadFailed,
    WriteFailed,
};

struct RekeyResult {
    RekeyFault fault = RekeyFault::None;
    uint64_t position = 0;       // where the fault was found (the record's position)
    uint64_t trailingBytes = 0;  // bytes after the last whole record, fewer than a record header; not copied

    bool Ok() const { return fault == RekeyFault::None; }
};

// The key a database file is scrambled with, from the last character of its name: the digits 1 to 6
// give their entry of DbbKeys, any other digit its own value (0: plain), anything else NoDbbKey.
// Keys are 32-bit words carried in an i32; only NoDbbKey means "none".
constexpr int32_t NoDbbKey = -1;
int32_t DbbKeyForFile(const AnsiString &fileName);

// Progress of one re-keying: `position` of `maximum` (100), advanced by the bytes written against the
// header's data end.
using TRekeyProgress = std::function<void(int position, int maximum)>;

// Writes the re-keyed file into `destination` from position 0 on.
RekeyResult RekeyDbb(TByteSource &source, TByteStore &destination, uint32_t oldKey, uint32_t newKey,
                     const TRekeyProgress &progress);

// The protocol text of a failed re-keying ("" for success).
AnsiString RekeyFaultText(const RekeyResult &result);
// The protocol text for bytes left after the last record ("" when there are none).
AnsiString RekeyTrailingText(const RekeyResult &result);
