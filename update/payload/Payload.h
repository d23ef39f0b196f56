#pragma once
// The payload carried at the end of the updater's own file: the items after the executable image, the
// directory of 48-byte records, the trailer (counts, versions, accepted builds) and the seal.
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/runtime/AnsiString.h"
#include "update/payload/ByteSource.h"
#include "update/payload/PartNfo.h"
#include "update/run/RunLog.h"

class TFileStream;

// What the reader learns from a payload.
struct TPayloadInfo {
    uint64_t ImageLength = 0;        // where the items begin
    uint64_t DirectoryPosition = 0;  // where the items end
    TPartList Items;
    uint32_t ItemCount = 0;
    uint32_t TempBytesNeeded = 0;
    uint64_t Growth = 0;  // with 65,535 added
    AnsiString NewVersion, BaseVersion;
    AnsiString NewVersionShort, BaseVersionShort;
    std::vector<uint32_t> AcceptedBuilds;
    bool Correction = false;  // the shortened versions are equal
};

// The text up to, not including, its third "."; the whole text when it has fewer.
AnsiString CutVersion(const AnsiString &version);

// The window caption for an update from `info`'s base version to its new version.
AnsiString PayloadCaption(const TPayloadInfo &info);

// The protocol line of an item: "section. " or "section.number. " and what the item is.
AnsiString PayloadItemLine(uint8_t type, const AnsiString &name, uint32_t section, uint32_t number);
void LogPayloadItem(TRunLog &log, uint8_t type, const AnsiString &name, uint32_t section, uint32_t number);

// A relative target path the payload may name: not empty, not rooted, no drive or stream (":"), no
// ".." component.
bool IsSafeItemName(const AnsiString &name);

// Checks the seal, finds the image end, reads the trailer and the directory and walks the items,
// logging each step. `selfPath` is the file's name as the protocol and the error box show it.
// False at the first failed step; `info` is complete only on success.
bool ReadPayload(TByteSource &source, const AnsiString &selfPath, TRunLog &log, TPayloadInfo &info);

// ReadPayload on a file, opened read-only with others free to read and write it; a file that cannot
// be opened is logged (index 26) and fails (Windows build).
bool ReadPayloadFile(const AnsiString &fileName, TRunLog &log, TPayloadInfo &info);

// The payload file held open while its items are read one after another, so that a run of hundreds of
// items opens it once (Windows build).
class TPayloadItems {
public:
    // Opens the file read-only, others free to read and write it; a file that cannot be opened reads
    // no item.
    explicit TPayloadItems(const AnsiString &fileName);
    ~TPayloadItems();
    // The bytes of one item as they stand in the file: from its type byte over its record's length
    // (index 10). False when the file could not be opened or holds fewer.
    bool Read(const TPartNfo &item, std::vector<uint8_t> &bytes);

private:
    std::unique_ptr<TFileStream> file_;
};

