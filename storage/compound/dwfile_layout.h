#pragma once
// The stored layout of a compound file, for the storage layer that reads and writes it and for the
// update engine that re-keys a database file without opening it as one:
//   header     u32 data end, u32 number N of logical files
//   directory  N entries: u32 position of the first record, u32 length of the logical file
//   records    u8 flags, u32 link, u16 data length, then the data
// Every chain ends with the end record: flags 0, no link, length 1, the data byte '@'. A simple file
// is one bare chain of records from position 0.
#include <cstdint>

#include "base/memory/Bytes.h"

namespace CompoundFile {

constexpr uint32_t HeaderSize = 8;
constexpr uint32_t EntrySize = 8;
constexpr uint32_t RecordHeaderSize = 7;

// The data byte of the end record.
constexpr uint8_t EndByte = 0x40;
inline constexpr uint8_t EndRecord[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, EndByte};
constexpr uint32_t EndRecordSize = sizeof EndRecord;

// Where the data area of a file with `count` logical files starts. 64-bit: a damaged header's count
// can put it past 4 GB.
constexpr uint64_t DataStartFor(uint64_t count) { return HeaderSize + EntrySize * count; }
// File offsets of the two words of directory entry n.
constexpr uint32_t EntryPositionAt(uint32_t n) { return HeaderSize + EntrySize * n; }
constexpr uint32_t EntryLengthAt(uint32_t n) { return EntryPositionAt(n) + 4; }

struct RecordHeader {
    uint8_t Flags = 0;
    uint32_t Link = 0;
    uint16_t Length = 0;
};

// The header of a record from its RecordHeaderSize bytes (already unscrambled), and back.
inline RecordHeader DecodeRecordHeader(const uint8_t *bytes)
{
    return {bytes[0], LoadU32(bytes + 1), LoadU16(bytes + 5)};
}
inline void EncodeRecordHeader(uint8_t *bytes, const RecordHeader &header)
{
    bytes[0] = header.Flags;
    StoreU32(bytes + 1, header.Link);
    StoreU16(bytes + 5, header.Length);
}

// A record's data that ends its chain.
inline bool IsEndRecordData(uint32_t length, const uint8_t *data) { return length == 1 && data[0] == EndByte; }

}  // namespace CompoundFile
